#include "platform/report/Report.h"

namespace report {

Report::Report() = default;
Report::~Report() = default;

} // namespace report
