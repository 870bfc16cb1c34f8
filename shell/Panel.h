#pragma once

#include <QFrame>
#include <QString>

// A three-dimensional panel with a caption, a border width and a bevel width (both in
// twips), as the main window's layout uses them.
class Panel : public QFrame {
    Q_OBJECT
public:
    explicit Panel(const QString& name, QWidget* parent = nullptr);

    QString Caption() const { return m_caption; }
    void setCaption(const QString& caption);
    int BorderWidth() const { return m_borderWidth; } // twips
    void setBorderWidth(int twips);
    int BevelWidth() const { return m_bevelWidth; } // twips
    void setBevelWidth(int twips);
    void setCaptionAlignment(Qt::Alignment alignment);

signals:
    void resized();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QString m_caption;
    int m_borderWidth = 0;
    int m_bevelWidth = 0;
    Qt::Alignment m_alignment = Qt::AlignCenter;
};
