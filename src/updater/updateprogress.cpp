#include "updater/updateprogress.h"

TUpdateProgress::~TUpdateProgress() = default;
