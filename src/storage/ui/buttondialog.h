#pragma once
// A modal dialog whose buttons are the system's own qbButtons_H. Those buttons are no
// QPushButton, so the dialog itself keeps which one is the default: Enter presses it
// while it is enabled, Escape cancels.
#include <QDialog>
#include <QStyle>

class QLabel;
class QWidget;

namespace rr
{

class qbButtons_H;

class ButtonDialog : public QDialog
{
    Q_OBJECT
public:
    explicit ButtonDialog(QWidget *parent = nullptr);

    // Marks button as the default (drawn so, pressed by Enter) and unmarks the others.
    void setDefaultButton(qbButtons_H *button);
    qbButtons_H *defaultButton() const { return m_default; }
    // An accepted input enables accept and makes it the default; a refused one
    // disables it and makes fallback the default.
    void setAcceptState(qbButtons_H *accept, qbButtons_H *fallback, bool accepted);

    // A button named objectName with a caption and a small standard picture.
    qbButtons_H *makeButton(const QString &objectName, const QString &caption, QStyle::StandardPixmap picture);
    // A label named objectName showing text literally.
    QLabel *makeLabel(const QString &objectName, const QString &text);

    // Twips (15 to a pixel) as pixels; a negative size becomes 0.
    static int px(double twips);
    // The height in twips of a single-line box or caption for the user's font size.
    static int lineHeightTwips(int fontSize);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    qbButtons_H *m_default = nullptr;
};

} // namespace rr
