#pragma once

#include "platform/report/ChartData.h"
#include "platform/report/PageItems.h"
#include "platform/report/Pictures.h"
#include "platform/report/Units.h"

#include <QImage>
#include <QString>
#include <QStringList>

#include <memory>
#include <stdexcept>
#include <utility>
#include <vector>

namespace report {

// A failure the layout code made: an unknown control name or class name, a position out of
// range. The engine records it against the handler that was running and carries on.
class ReportError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
    explicit ReportError(const QString& message) : std::runtime_error(message.toStdString()) {}
};

enum class ControlKind { Label, TextBox, Line, Shape, CheckBox, Image, Chart, Custom };

// What placing a section needs besides its controls: the pictures of the run, decoded once at
// the size they print at, and who is placing (the handler of the section and its page), so
// that a picture that cannot be read is recorded against it.
struct SnapshotContext {
    PictureCache pictures;
    PictureRequester requester;
};

// A named control at a position in its section, in twips relative to the section's top left.
class Control {
public:
    explicit Control(QString name) : m_name(std::move(name)) {}
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    virtual ControlKind kind() const = 0;

    const QString& Name() const { return m_name; }

    virtual Twips Left() const { return m_left; }
    virtual Twips Top() const { return m_top; }
    virtual Twips Width() const { return m_width; }
    virtual Twips Height() const { return m_height; }
    virtual void setLeft(Twips left) { m_left = left; }
    virtual void setTop(Twips top) { m_top = top; }
    virtual void setWidth(Twips width) { m_width = width; }
    virtual void setHeight(Twips height) { m_height = height; }
    void setBounds(Twips left, Twips top, Twips width, Twips height);
    QRectF rect() const { return {Left(), Top(), Width(), Height()}; }

    bool Visible() const { return m_visible; }
    void setVisible(bool visible) { m_visible = visible; }

    // The lowest point the control reaches in its section; a section grows to hold it.
    virtual Twips bottom() const { return Top() + Height(); }

    // The page item for the control's present state, with its section's top left at origin.
    virtual PageItem snapshot(QPointF origin, SnapshotContext& context) const = 0;

protected:
    ItemBase base(QPointF origin) const;

private:
    QString m_name;
    Twips m_left = 0;
    Twips m_top = 0;
    Twips m_width = 0;
    Twips m_height = 0;
    bool m_visible = true;
};

// What labels, text boxes and check boxes share. Text never makes a control grow: it wraps
// at the control's width and is cut off at its height.
class TextControl : public Control {
public:
    using Control::Control;

    const report::Font& Font() const { return m_font; }
    void setFont(const report::Font& font) { m_font = font; }
    double FontSize() const { return m_font.size; }
    void setFontSize(double points) { m_font.size = points; }
    void setFontBold(bool bold) { m_font.bold = bold; }

    report::Alignment Alignment() const { return m_alignment; }
    void setAlignment(report::Alignment alignment) { m_alignment = alignment; }
    const QColor& ForeColor() const { return m_foreColor; }
    void setForeColor(const QColor& color) { m_foreColor = color; }
    const QColor& BackColor() const { return m_backColor; }
    void setBackColor(const QColor& color) { m_backColor = color; }
    report::BackStyle BackStyle() const { return m_backStyle; }
    void setBackStyle(report::BackStyle style) { m_backStyle = style; }
    bool WordWrap() const { return m_wordWrap; }
    void setWordWrap(bool wrap) { m_wordWrap = wrap; }

protected:
    TextItem textItem(QPointF origin, const QString& text) const;

private:
    report::Font m_font;
    report::Alignment m_alignment = report::Alignment::Left;
    QColor m_foreColor = Qt::black;
    QColor m_backColor = Qt::white;
    report::BackStyle m_backStyle = report::BackStyle::Transparent;
    bool m_wordWrap = true;
};

// A fixed text; line breaks are CR LF or LF.
class Label final : public TextControl {
public:
    using TextControl::TextControl;
    ControlKind kind() const override { return ControlKind::Label; }
    const QString& Caption() const { return m_caption; }
    void setCaption(const QString& caption) { m_caption = caption; }
    PageItem snapshot(QPointF origin, SnapshotContext& context) const override;

private:
    QString m_caption;
};

// A field whose text the layout sets for every instance.
class TextBox final : public TextControl {
public:
    using TextControl::TextControl;
    ControlKind kind() const override { return ControlKind::TextBox; }
    const QString& Text() const { return m_text; }
    void setText(const QString& text) { m_text = text; }
    PageItem snapshot(QPointF origin, SnapshotContext& context) const override;

private:
    QString m_text;
};

// A box to tick, with its caption to the right.
class CheckBox final : public TextControl {
public:
    using TextControl::TextControl;
    ControlKind kind() const override { return ControlKind::CheckBox; }
    const QString& Caption() const { return m_caption; }
    void setCaption(const QString& caption) { m_caption = caption; }
    // 0 unticked, any other value ticked.
    int Value() const { return m_value ? 1 : 0; }
    void setValue(int value) { m_value = value != 0; }
    PageItem snapshot(QPointF origin, SnapshotContext& context) const override;

private:
    QString m_caption;
    bool m_value = false;
};

// A straight line between two points. Its Left, Top, Width and Height are those of the box
// around the two points; setting them moves or stretches the line.
class Line final : public Control {
public:
    using Control::Control;
    ControlKind kind() const override { return ControlKind::Line; }

    Twips X1() const { return m_x1; }
    Twips Y1() const { return m_y1; }
    Twips X2() const { return m_x2; }
    Twips Y2() const { return m_y2; }
    void setX1(Twips x) { m_x1 = x; }
    void setY1(Twips y) { m_y1 = y; }
    void setX2(Twips x) { m_x2 = x; }
    void setY2(Twips y) { m_y2 = y; }
    void setPoints(Twips x1, Twips y1, Twips x2, Twips y2);

    Twips Left() const override;
    Twips Top() const override;
    Twips Width() const override;
    Twips Height() const override;
    void setLeft(Twips left) override;
    void setTop(Twips top) override;
    void setWidth(Twips width) override;
    void setHeight(Twips height) override;
    Twips bottom() const override;

    report::LineStyle LineStyle() const { return m_style; }
    void setLineStyle(report::LineStyle style) { m_style = style; }
    double LineWeight() const { return m_weight; }
    void setLineWeight(double weight) { m_weight = weight; }
    const QColor& LineColor() const { return m_color; }
    void setLineColor(const QColor& color) { m_color = color; }

    PageItem snapshot(QPointF origin, SnapshotContext& context) const override;

private:
    Twips m_x1 = 0;
    Twips m_y1 = 0;
    Twips m_x2 = 0;
    Twips m_y2 = 0;
    report::LineStyle m_style = report::LineStyle::Solid;
    double m_weight = 1;
    QColor m_color = Qt::black;
};

// A rectangle, ellipse or rounded rectangle, filled when its back style is opaque.
class Shape final : public Control {
public:
    using Control::Control;
    ControlKind kind() const override { return ControlKind::Shape; }

    ShapeType Style() const { return m_type; }
    void setStyle(ShapeType type) { m_type = type; }
    const QColor& BackColor() const { return m_backColor; }
    void setBackColor(const QColor& color) { m_backColor = color; }
    report::BackStyle BackStyle() const { return m_backStyle; }
    void setBackStyle(report::BackStyle style) { m_backStyle = style; }
    report::LineStyle LineStyle() const { return m_lineStyle; }
    void setLineStyle(report::LineStyle style) { m_lineStyle = style; }
    double LineWeight() const { return m_lineWeight; }
    void setLineWeight(double weight) { m_lineWeight = weight; }
    const QColor& LineColor() const { return m_lineColor; }
    void setLineColor(const QColor& color) { m_lineColor = color; }

    PageItem snapshot(QPointF origin, SnapshotContext& context) const override;

private:
    ShapeType m_type = ShapeType::Rectangle;
    QColor m_backColor = Qt::white;
    report::BackStyle m_backStyle = report::BackStyle::Transparent;
    report::LineStyle m_lineStyle = report::LineStyle::Solid;
    double m_lineWeight = 1;
    QColor m_lineColor = Qt::black;
};

// A picture: a file, decoded once the pages are made and kept at the size it prints at (see
// PictureCache for how each size mode fills the control), or a picture made in code.
class Image final : public Control {
public:
    using Control::Control;
    ControlKind kind() const override { return ControlKind::Image; }

    // Shows the picture in this file. A file that is missing or is not a picture leaves the
    // control empty and returns false; the failure is also recorded as an error of the run
    // when the section is next placed, unless the picture is not required. Only the file's
    // header is read here, once a run however often the file is loaded.
    bool loadPicture(const QString& path);
    // Whether a picture file that cannot be read is an error of the run (the default). A
    // control for a picture that may well be missing, such as a person's photo, is left
    // empty without one.
    bool PictureRequired() const { return m_required; }
    void setPictureRequired(bool required) { m_required = required; }
    // Shows a picture made in code; the name stands for it in the document's dump.
    void setPicture(const QImage& picture, const QString& name);
    void clearPicture();
    bool hasPicture() const { return !m_source.isNull(); }
    // The file shown, or empty.
    const QString& pictureFile() const { return m_source.file; }

    report::PictureAlignment PictureAlignment() const { return m_alignment; }
    void setPictureAlignment(report::PictureAlignment alignment) { m_alignment = alignment; }
    report::SizeMode SizeMode() const { return m_sizeMode; }
    void setSizeMode(report::SizeMode mode) { m_sizeMode = mode; }

    // The failure of the last loadPicture, given once; the engine takes it when it places the
    // section.
    QString takeLoadError() { return std::exchange(m_loadError, QString()); }

    PageItem snapshot(QPointF origin, SnapshotContext& context) const override;

private:
    PictureSource m_source;
    QString m_name;
    QString m_loadError;
    report::PictureAlignment m_alignment = report::PictureAlignment::TopLeft;
    report::SizeMode m_sizeMode = report::SizeMode::Clip;
    bool m_required = true;
};

// A chart. The layout fills its data; the engine draws it (a pie, see ChartData) at the size
// of the control, in vectors, on screen, printer and PDF alike. Layout code never needs the
// chart library itself.
class Chart final : public Control {
public:
    using Control::Control;
    ControlKind kind() const override { return ControlKind::Chart; }

    const ChartData& data() const { return m_data; }
    void setData(ChartData data) { m_data = std::move(data); }

    PageItem snapshot(QPointF origin, SnapshotContext& context) const override;

private:
    ChartData m_data;
};

// A control that paints itself. The paint function is copied into the page when the
// section is placed, so it must hold by value everything it draws.
class CustomControl final : public Control {
public:
    using Control::Control;
    ControlKind kind() const override { return ControlKind::Custom; }
    void setPaint(PaintFunction paint) { m_paint = std::move(paint); }
    const PaintFunction& paint() const { return m_paint; }
    PageItem snapshot(QPointF origin, SnapshotContext& context) const override;

private:
    PaintFunction m_paint;
};

// The controls of one section, in the order they were added. Names match without regard to
// letter case; controls added at run time may have no name.
class ControlCollection {
public:
    ControlCollection() = default;
    ControlCollection(const ControlCollection&) = delete;
    ControlCollection& operator=(const ControlCollection&) = delete;

    int Count() const { return static_cast<int>(m_controls.size()); }
    // Zero-based; throws ReportError when out of range.
    Control& Item(int index) const;
    // Throws ReportError when no control has that name.
    Control& Item(const QString& name) const;
    // The named control as a given kind; throws ReportError when absent or of another kind.
    template <class T> T& Item(const QString& name) const
    {
        if (T* control = find<T>(name))
            return *control;
        throw ReportError(QStringLiteral("No control of that kind named \"%1\"").arg(name));
    }
    // nullptr when absent or of another kind.
    template <class T = Control> T* find(const QString& name) const
    {
        return dynamic_cast<T*>(findControl(name));
    }

    // Adds a control by class name: "DDActiveReports.Label", "DDActiveReports.Line",
    // "DDActiveReports.Shape" or "DDActiveReports.Checkbox", in any letter case. Throws
    // ReportError for any other name. What the layout does not set, the new control has by
    // default: at 0, 0 and 1440 twips wide; labels and check boxes 200 high in Arial 8 pt,
    // left-aligned, transparent; shapes 720 high, transparent with a thin black border;
    // lines 1440 long, solid, thin and black.
    Control& Add(const QString& className, const QString& name = {});

    // Adds a control of a known kind.
    template <class T> T& add(const QString& name = {})
    {
        auto control = std::make_unique<T>(name);
        T& ref = *control;
        m_controls.push_back(std::move(control));
        return ref;
    }

    auto begin() const { return m_controls.begin(); }
    auto end() const { return m_controls.end(); }

private:
    Control* findControl(const QString& name) const;

    std::vector<std::unique_ptr<Control>> m_controls;
};

} // namespace report
