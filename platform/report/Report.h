#pragma once

#include <QString>

namespace report {

// A report layout: the base of every layout class of the program.
class Report {
public:
    Report();
    virtual ~Report();
    Report(const Report&) = delete;
    Report& operator=(const Report&) = delete;

    // The report's caption, shown in the preview's title.
    QString Caption() const { return m_caption; }
    void setCaption(const QString& caption) { m_caption = caption; }

private:
    QString m_caption;
};

} // namespace report
