#pragma once

#include "platform/report/Report.h"

#include <cstdint>

// A blank sign-up sheet on one portrait page: the group name, the title, the event's name and
// details as typed in the catalogue (free text lines 1 and 2), then 42 writing lines in two
// columns, filled down and then across. It reads no data.
class rptSignUp final : public report::Report {
public:
    rptSignUp();

    // The number of writing lines on the sheet.
    static constexpr std::int32_t kLines = 42;

    // The number of detail Format calls so far.
    std::int32_t LinesCounter() const { return m_lines; }

protected:
    void PageStart() override;

private:
    void Detail_Format();

    std::int32_t m_lines = 0;
};
