#include "reports/ReportData.h"

#include <stdexcept>

QStringList ReadColumnTexts(const QString& sql, bool trim)
{
    Q_UNUSED(sql);
    Q_UNUSED(trim);
    throw std::runtime_error("The data file cannot be read yet.");
}
