#pragma once

#include "platform/platformexport.h"

#include <QChar>
#include <QString>

namespace Platform {

/// The process-wide date, time and number formats that text conversions use. Programs
/// set them once at start; tests may set them freely.
struct TFormatSettings
{
    QString ShortDateFormat = QStringLiteral("yyyy-mm-dd");
    QChar DateSeparator = QLatin1Char('-');
    QString LongTimeFormat = QStringLiteral("HH:mm:ss");
    QChar DecimalSeparator = QLatin1Char('.');
    QChar ThousandSeparator = QLatin1Char(',');
};

TOVEL_PLATFORM_EXPORT TFormatSettings &FormatSettings();

} // namespace Platform
