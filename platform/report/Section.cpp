#include "platform/report/Section.h"

#include "platform/data/Recordset.h"

#include <algorithm>

namespace report {

Section::Section(SectionKind kind, QString name, Twips height)
    : m_kind(kind), m_name(std::move(name)), m_height(height)
{}

Twips Section::placedHeight() const
{
    Twips height = m_height;
    if (m_canGrow) {
        for (const auto& control : m_controls) {
            if (control->Visible())
                height = std::max(height, control->bottom());
        }
    }
    return std::max<Twips>(0, height);
}

GroupHeader::GroupHeader(QString name, Section& footer, Twips height)
    : Section(SectionKind::GroupHeader, std::move(name), height), m_footer(footer)
{}

void GroupHeader::setGroupValue(const data::Variant& value)
{
    m_source = nullptr;
    m_value = value;
}

void GroupHeader::setGroupValueSource(std::function<std::optional<data::Variant>()> source)
{
    m_source = std::move(source);
}

void GroupHeader::setGroupValueField(data::Recordset& rows, const QString& field)
{
    m_source = [&rows, field]() -> std::optional<data::Variant> {
        if (rows.State() != data::adStateOpen || rows.EOF() || rows.BOF())
            return std::nullopt;
        return rows[field].Value();
    };
}

std::optional<data::Variant> GroupHeader::currentGroupValue() const
{
    if (!m_source)
        return m_value;
    try {
        return m_source();
    } catch (...) {
        return std::nullopt;
    }
}

namespace {

bool blank(const data::Variant& v)
{
    return v.isNull() || v.isEmpty() || (v.isString() && v.text().isEmpty());
}

} // namespace

bool GroupHeader::sameGroup(const data::Variant& a, const data::Variant& b)
{
    if (blank(a) || blank(b))
        return blank(a) && blank(b);
    if (a.hasNumber() && b.hasNumber())
        return a.number() == b.number();
    if (a.isString() && b.isString())
        return a.text().compare(b.text(), Qt::CaseInsensitive) == 0;
    return false;
}

} // namespace report
