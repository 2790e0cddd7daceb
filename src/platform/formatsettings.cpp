#include "platform/formatsettings.h"

namespace Platform {

TFormatSettings &FormatSettings()
{
    static TFormatSettings settings;
    return settings;
}

} // namespace Platform
