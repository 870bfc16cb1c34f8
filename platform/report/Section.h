#pragma once

#include "platform/report/Controls.h"
#include "platform/data/Variant.h"

#include <QColor>
#include <QString>

#include <algorithm>
#include <functional>
#include <optional>

namespace data {
class Recordset;
}

namespace report {

enum class SectionKind { PageHeader, GroupHeader, Detail, GroupFooter, PageFooter };
enum class ColumnDirection { AcrossThenDown, DownThenAcross };

// One band of a layout. The layout changes its height, visibility and controls while it runs;
// each printed instance keeps what they were when it was formatted. Height and Visible keep
// the last value set: they are not reset between instances.
class Section {
public:
    Section(SectionKind kind, QString name, Twips height = 0);
    virtual ~Section() = default;
    Section(const Section&) = delete;
    Section& operator=(const Section&) = delete;

    SectionKind kind() const { return m_kind; }
    const QString& Name() const { return m_name; }

    Twips Height() const { return m_height; }
    void setHeight(Twips height) { m_height = height; }
    bool Visible() const { return m_visible; }
    void setVisible(bool visible) { m_visible = visible; }
    // Growing sections (the default) are as tall as their lowest visible control.
    bool CanGrow() const { return m_canGrow; }
    void setCanGrow(bool grow) { m_canGrow = grow; }
    const QColor& BackColor() const { return m_backColor; }
    void setBackColor(const QColor& color) { m_backColor = color; }
    report::BackStyle BackStyle() const { return m_backStyle; }
    void setBackStyle(report::BackStyle style) { m_backStyle = style; }

    ControlCollection& Controls() { return m_controls; }
    const ControlCollection& Controls() const { return m_controls; }

    // Columns of a detail section. The pitch is the distance between the left edges of two
    // columns; 0 divides the printable width evenly.
    int ColumnCount() const { return m_columnCount; }
    void setColumnCount(int count) { m_columnCount = std::max(1, count); }
    ColumnDirection columnDirection() const { return m_columnDirection; }
    void setColumnDirection(ColumnDirection direction) { m_columnDirection = direction; }
    Twips columnPitch() const { return m_columnPitch; }
    void setColumnPitch(Twips pitch) { m_columnPitch = pitch; }

    // The request a Format handler makes at its end. On the detail section it prints the
    // instance just formatted and asks for another; a detail Format without it ends the rows.
    void request() { m_requested = true; }

    // The layout's handlers for this section.
    void onFormat(std::function<void()> handler) { m_onFormat = std::move(handler); }
    void onAfterPrint(std::function<void()> handler) { m_onAfterPrint = std::move(handler); }

    // The height an instance takes when placed now.
    Twips placedHeight() const;

private:
    friend class Runner;

    SectionKind m_kind;
    QString m_name;
    Twips m_height = 0;
    bool m_visible = true;
    bool m_canGrow = true;
    QColor m_backColor = Qt::white;
    report::BackStyle m_backStyle = report::BackStyle::Transparent;
    ControlCollection m_controls;
    int m_columnCount = 1;
    ColumnDirection m_columnDirection = ColumnDirection::AcrossThenDown;
    Twips m_columnPitch = 0;
    bool m_requested = false;
    std::function<void()> m_onFormat;
    std::function<void()> m_onAfterPrint;
};

// A group header: a changed group value starts a new group, which prints this header before
// its first detail and the paired footer after its last one. Values compare as the list sorts
// them: Null, Empty and empty text alike, text without regard to letter case, numbers by value.
class GroupHeader final : public Section {
public:
    GroupHeader(QString name, Section& footer, Twips height = 0);

    Section& footer() const { return m_footer; }

    // The group value, in one of three ways; each replaces the one set before.
    //
    // A value set by code, kept until the layout sets another (a layout that moves through
    // its rows itself sets the next row's value in Detail_AfterPrint).
    void setGroupValue(const data::Variant& value);
    // A field of the current row of the layout's rows, read each time the engine checks for
    // a new group (before every Detail Format). Past the last row (or before the first) there
    // is no value, and no group starts. The recordset must outlive the run.
    void setGroupValueField(data::Recordset& rows, const QString& field);
    // Any value read each time the engine checks for a new group; no value (nullopt, or a
    // throw) means there is no current row and no group starts.
    void setGroupValueSource(std::function<std::optional<data::Variant>()> source);

    std::optional<data::Variant> currentGroupValue() const;

    static bool sameGroup(const data::Variant& a, const data::Variant& b);

private:
    Section& m_footer;
    data::Variant m_value;
    std::function<std::optional<data::Variant>()> m_source;
};

} // namespace report
