#pragma once
// The arithmetic of the Splitter control, kept apart from any widget: where the bar
// sits for a requested position or ratio, the minimum and maximum sizes of the two
// sides, the re-entrancy guards between the position and ratio setters, the drag and
// where the two children go. All values are twips in the control's inner space.
//
// The host (the Splitter widget, or a test) sets the inner size, calls resizeHandler()
// when the control was resized, and is told through onLayout each time the children
// are to be placed; onLayout is where the Resize event is raised.
#include <QRect>
#include <functional>

namespace rr
{

class SplitterModel
{
public:
    enum Orientation { Vertical = 0, Horizontal = 1 };
    enum Maintained { KeepPosition = 0, KeepRatio = 1 };

    SplitterModel();

    // --- properties (setters act as the control's setters do) ---
    int orientation() const { return m_orientation; }
    void setOrientation(int orientation);
    int splitterSize() const { return m_splitterSize; }
    void setSplitterSize(int size);
    int maintain() const { return m_maintain; }
    void setMaintain(int maintain);
    int splitterPos() const { return m_splitterPos; }
    void setSplitterPos(int pos);
    float ratioFromTop() const { return m_ratioFromTop; }
    void setRatioFromTop(float ratio);
    // The bar's actual leading edge; 0 for an orientation other than 0 or 1.
    int currSplitterPos() const;
    float currRatioFromTop() const { return m_currRatio; }
    int maxSize() const { return m_maxSize; }
    void setMaxSize(int size);
    int maxSizeAppliesTo() const { return m_maxSizeAppliesTo; }
    void setMaxSizeAppliesTo(int side);
    int minSize1() const { return m_minSize1; }
    void setMinSize1(int size);
    int minSize2() const { return m_minSize2; }
    void setMinSize2(int size);
    int minSizeAux() const { return m_minSizeAux; }
    void setMinSizeAux(int size);
    bool allowResize() const { return m_allowResize; }
    void setAllowResize(bool allow) { m_allowResize = allow; }
    bool liveUpdate() const { return m_liveUpdate; }
    void setLiveUpdate(bool live) { m_liveUpdate = live; }

    // --- the control's size ---
    // Stores the inner size only; resizeHandler() then places the bar.
    void setInnerSize(double width, double height);
    double innerWidth() const { return m_innerWidth; }
    double innerHeight() const { return m_innerHeight; }
    // The control's own resize handling: auxSize refreshed, then placeSplitter.
    void resizeHandler();
    int auxSize() const { return m_auxSize; }
    // Where the bar is: left, top, width, height.
    QRect barRect() const { return m_bar; }

    // --- layout ---
    bool layoutEnabled() const { return m_layoutEnabled; }
    void setLayoutEnabled(bool enabled) { m_layoutEnabled = enabled; }
    void layoutChildren();
    // The rectangle of child 1 or 2 at the bar's current position; a list view child
    // reaches 15 twips beyond its side and is 30 twips larger.
    QRect childRect(int child, bool isListView) const;
    // Called by layoutChildren while layout is enabled: place the children, raise Resize.
    std::function<void()> onLayout;

    // --- computations ---
    int getMainSize() const;
    int getAuxSize() const;
    int minTotalSize() const { return m_minTotalSize; }
    int clampPos(int extent, int pos) const;
    float ratioFromPos(int extent, int pos) const;
    int posFromRatio(int extent, float ratio) const;
    // The bar position rule: SplitterPos or the ratio, whichever Maintain names.
    void reapplyPosition();
    void setCurrPos(int pos);
    void setCurrRatio(float ratio);

    // --- dragging; mouse positions along the main axis, relative to the bar ---
    bool dragging() const { return m_dragging; }
    bool dragLook() const { return m_dragLook; }
    int dragStartPos() const { return m_dragStartPos; }
    void mouseDown(double mouseInBar);
    void mouseMove(double mouseInBar);
    void mouseUp();
    // Escape while dragging: the bar returns to where the drag began.
    void cancelDrag();

    // Halves go to the even neighbour, as every float becomes an integer here.
    static int roundHalfEven(double value);

private:
    enum Busy { BusyPos = 1, BusyRatio = 2, BusyCurrPos = 4, BusyCurrRatio = 8 };
    bool isVertical() const { return m_orientation == Vertical; }
    bool isHorizontal() const { return m_orientation == Horizontal; }
    int half() const { return m_splitterSize / 2; }
    void recomputeMinTotal();
    void placeSplitter();
    void moveBarEdge(int pos);

    int m_orientation = Vertical;
    int m_splitterSize = 75;
    int m_maintain = KeepRatio;
    int m_splitterPos = 0;
    float m_ratioFromTop = 0.5f;
    float m_currRatio = 0.0f;
    int m_maxSize = 0;
    int m_maxSizeAppliesTo = 0;
    int m_minSize1 = 255;
    int m_minSize2 = 255;
    int m_minSizeAux = 255;
    bool m_allowResize = true;
    bool m_liveUpdate = true;

    double m_innerWidth = 0;
    double m_innerHeight = 0;
    int m_auxSize = 0;
    int m_minTotalSize = 0;
    int m_busy = 0;
    bool m_layoutEnabled = true;
    QRect m_bar;

    bool m_dragging = false;
    bool m_dragLook = false;
    int m_dragStartPos = 0;
    int m_grabOffset = 0;
};

} // namespace rr
