#pragma once

#include <QSvgRenderer>
#include <QToolButton>

// A tool button that draws its picture from an SVG source every time it paints, at the size
// and device pixel ratio it is shown at: sharp at any scaling (the screen's DPI, QT_SCALE_FACTOR,
// a compositor's output scale), where a bitmap icon would be stretched. Disabled, the picture
// is drawn faded.
class VectorButton : public QToolButton
{
    Q_OBJECT

public:
    explicit VectorButton(QWidget *parent = nullptr);

    // The SVG resource to show; one that does not load shows nothing and says so in the log.
    void setPicture(const QString &resource);
    QString picture() const { return m_picture; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_picture;
    QSvgRenderer m_renderer;
};
