#pragma once
// The Splitter control: a container that divides its area between two contained
// controls (named by Child1 and Child2, matched against the children's object
// names without regard to case) with a bar the user drags. Its arithmetic lives in
// SplitterModel; this widget converts twips to pixels, draws the bar, follows the
// mouse and raises Resize after each layout of the children.
#include "shell/splittermodel.h"

#include <QColor>
#include <QWidget>

namespace rr
{

class Splitter : public QWidget
{
    Q_OBJECT
public:
    explicit Splitter(QWidget *parent = nullptr);

    // 0 none, 1 fixed single.
    int BorderStyle() const { return m_borderStyle; }
    void setBorderStyle(int style);
    // The bar's look while dragged without live update.
    int SplitterAppearance() const { return m_appearance; }
    void setSplitterAppearance(int appearance) { m_appearance = appearance; }
    int SplitterBorder() const { return m_barBorder; }
    void setSplitterBorder(int border) { m_barBorder = border; }
    QColor SplitterColor() const { return m_dragColor; }
    void setSplitterColor(const QColor &color) { m_dragColor = color; }

    int Orientation() const { return m_model.orientation(); }
    void setOrientation(int orientation);
    int SplitterSize() const { return m_model.splitterSize(); }
    void setSplitterSize(int size) { m_model.setSplitterSize(size); }
    int Maintain() const { return m_model.maintain(); }
    void setMaintain(int maintain) { m_model.setMaintain(maintain); }
    int SplitterPos() const { return m_model.splitterPos(); }
    void setSplitterPos(int pos) { m_model.setSplitterPos(pos); }
    int CurrSplitterPos() const { return m_model.currSplitterPos(); }
    float RatioFromTop() const { return m_model.ratioFromTop(); }
    void setRatioFromTop(float ratio) { m_model.setRatioFromTop(ratio); }
    float CurrRatioFromTop() const { return m_model.currRatioFromTop(); }
    QString Child1() const { return m_child1; }
    void setChild1(const QString &name);
    QString Child2() const { return m_child2; }
    void setChild2(const QString &name);
    int MaxSize() const { return m_model.maxSize(); }
    void setMaxSize(int size) { m_model.setMaxSize(size); }
    int MaxSizeAppliesTo() const { return m_model.maxSizeAppliesTo(); }
    void setMaxSizeAppliesTo(int side) { m_model.setMaxSizeAppliesTo(side); }
    int MinSize1() const { return m_model.minSize1(); }
    void setMinSize1(int size) { m_model.setMinSize1(size); }
    int MinSize2() const { return m_model.minSize2(); }
    void setMinSize2(int size) { m_model.setMinSize2(size); }
    int MinSizeAux() const { return m_model.minSizeAux(); }
    void setMinSizeAux(int size) { m_model.setMinSizeAux(size); }
    bool AllowResize() const { return m_model.allowResize(); }
    void setAllowResize(bool allow);
    bool LiveUpdate() const { return m_model.liveUpdate(); }
    void setLiveUpdate(bool live) { m_model.setLiveUpdate(live); }

    // Applies a batch of property changes with layout held back, then lays out once
    // (what loading an instance's design values does).
    template <typename F> void initialise(F &&apply)
    {
        beginInitialise();
        apply();
        endInitialise();
    }

    // Moves and sizes the control in twips and runs its resize handling at once,
    // whether or not the control is shown yet.
    void moveTwips(double left, double top, double width, double height);

    QWidget *bar() const { return m_bar; }
    const SplitterModel &model() const { return m_model; }

    // The inner size in twips.
    double innerWidthTwips() const;
    double innerHeightTwips() const;

signals:
    // Raised at the end of every layout of the children.
    void Resize();
    // Raised when the user lets go of the bar after dragging it with the mouse.
    void barReleased();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void beginInitialise();
    void endInitialise();
    QWidget *findChildNamed(const QString &name) const;
    void placeChildren();
    void placeBar();
    void syncSize(bool force = false);
    int frameWidth() const { return m_borderStyle == 1 ? 1 : 0; }

    SplitterModel m_model;
    QWidget *m_bar = nullptr;
    QString m_child1;
    QString m_child2;
    int m_borderStyle = 0;
    int m_appearance = 1;
    int m_barBorder = 1;
    QColor m_dragColor = QColor(0x40, 0x40, 0x40);
};

} // namespace rr
