#include "shell/splittermodel.h"

#include <algorithm>
#include <cmath>

namespace rr
{

SplitterModel::SplitterModel()
{
    recomputeMinTotal();
}

int SplitterModel::roundHalfEven(double value)
{
    const double floor = std::floor(value);
    const double diff = value - floor;
    if (diff > 0.5)
        return int(floor) + 1;
    if (diff < 0.5)
        return int(floor);
    return std::fmod(floor, 2.0) == 0.0 ? int(floor) : int(floor) + 1;
}

// --- computations ---

int SplitterModel::getMainSize() const
{
    if (isVertical())
        return roundHalfEven(m_innerWidth);
    if (isHorizontal())
        return roundHalfEven(m_innerHeight);
    return 0;
}

int SplitterModel::getAuxSize() const
{
    if (!isVertical() && !isHorizontal())
        return 0;
    const int cross = roundHalfEven(isVertical() ? m_innerHeight : m_innerWidth);
    return cross > m_minSizeAux ? cross : m_minSizeAux;
}

void SplitterModel::recomputeMinTotal()
{
    m_minTotalSize = std::max(0, m_minSize1 + m_splitterSize + m_minSize2);
}

int SplitterModel::clampPos(int extent, int pos) const
{
    if (extent <= m_minTotalSize)
        return m_minSize1;
    int p = std::max(pos, 0);
    if (m_splitterSize + p > extent)
        p = extent - m_splitterSize;
    if (m_maxSize > 0) {
        if (m_maxSizeAppliesTo == 0) {
            if (p > m_maxSize)
                p = m_maxSize;
        } else if (m_maxSizeAppliesTo == 1) {
            const int least = extent - m_maxSize - m_splitterSize;
            if (p < least)
                p = least;
        }
    }
    if (p <= m_minSize1)
        return m_minSize1;
    if (m_splitterSize + p <= extent - m_minSize2)
        return p;
    return extent - m_minSize2 - m_splitterSize;
}

float SplitterModel::ratioFromPos(int extent, int pos) const
{
    if (extent < 1)
        return 0.0f;
    return float(pos + half()) / float(extent);
}

int SplitterModel::posFromRatio(int extent, float ratio) const
{
    const float value = float(extent) * ratio - float(half());
    return roundHalfEven(value);
}

int SplitterModel::currSplitterPos() const
{
    if (isVertical())
        return m_bar.left();
    if (isHorizontal())
        return m_bar.top();
    return 0;
}

// --- moving the bar ---

void SplitterModel::moveBarEdge(int pos)
{
    if (isVertical())
        m_bar.moveLeft(pos);
    else if (isHorizontal())
        m_bar.moveTop(pos);
}

void SplitterModel::setCurrPos(int pos)
{
    if (m_busy & BusyCurrPos)
        return;
    m_busy |= BusyCurrPos;
    const int p = std::max(pos, 0);
    if (isVertical() || isHorizontal()) {
        const int extent = getMainSize();
        moveBarEdge(clampPos(extent, p));
        setCurrRatio(ratioFromPos(extent, currSplitterPos()));
    }
    if (!(m_busy & BusyCurrRatio))
        layoutChildren();
    m_busy &= ~BusyCurrPos;
}

void SplitterModel::setCurrRatio(float ratio)
{
    if (m_busy & BusyCurrRatio)
        return;
    m_busy |= BusyCurrRatio;
    const float r = std::clamp(ratio, 0.0f, 1.0f);
    const int extent = getMainSize();
    setCurrPos(clampPos(extent, posFromRatio(extent, r)));
    m_currRatio = ratioFromPos(extent, currSplitterPos());
    if (!(m_busy & BusyCurrPos))
        layoutChildren();
    m_busy &= ~BusyCurrRatio;
}

void SplitterModel::reapplyPosition()
{
    if (m_maintain == KeepPosition)
        setCurrPos(m_splitterPos);
    else if (m_maintain == KeepRatio)
        setCurrRatio(m_ratioFromTop);
}

void SplitterModel::setInnerSize(double width, double height)
{
    m_innerWidth = width;
    m_innerHeight = height;
}

void SplitterModel::resizeHandler()
{
    m_auxSize = getAuxSize();
    placeSplitter();
}

void SplitterModel::placeSplitter()
{
    if (!isVertical() && !isHorizontal())
        return;
    const int extent = getMainSize();
    int pos = 0;
    if (m_maintain == KeepPosition)
        pos = m_splitterPos;
    else if (m_maintain == KeepRatio)
        pos = posFromRatio(extent, m_ratioFromTop);
    pos = clampPos(extent, pos);
    if (isVertical())
        m_bar = QRect(pos, 0, m_splitterSize, m_auxSize);
    else
        m_bar = QRect(0, pos, m_auxSize, m_splitterSize);
    setCurrPos(pos);
}

// --- layout ---

void SplitterModel::layoutChildren()
{
    if (!m_layoutEnabled)
        return;
    if (onLayout)
        onLayout();
}

QRect SplitterModel::childRect(int child, bool isListView) const
{
    const int pos = currSplitterPos();
    const int s = m_splitterSize;
    const int a = m_auxSize;
    QRect r;
    if (isVertical()) {
        if (child == 1) {
            r = QRect(0, 0, pos, a);
        } else {
            const int rest = roundHalfEven(m_innerWidth) - (s + pos);
            r = QRect(pos + s, 0, rest >= m_minSize2 ? rest : m_minSize2, a);
        }
    } else if (isHorizontal()) {
        if (child == 1) {
            r = QRect(0, 0, a, pos);
        } else {
            const int rest = roundHalfEven(m_innerHeight) - (s + pos);
            r = QRect(0, pos + s, a, rest >= m_minSize2 ? rest : m_minSize2);
        }
    } else {
        return {};
    }
    if (isListView)
        r.adjust(-15, -15, 15, 15);
    return r;
}

// --- property setters ---

void SplitterModel::setOrientation(int orientation)
{
    const int before = currSplitterPos();
    m_orientation = orientation;
    if (isVertical())
        m_bar = QRect(before, 0, m_splitterSize, m_auxSize);
    else if (isHorizontal())
        m_bar = QRect(0, before, m_auxSize, m_splitterSize);
    if (m_maintain == KeepPosition)
        setCurrPos(before);
    resizeHandler();
}

void SplitterModel::setSplitterSize(int size)
{
    m_splitterSize = std::max(size, 0);
    recomputeMinTotal();
    resizeHandler();
}

void SplitterModel::setMaintain(int maintain)
{
    m_maintain = maintain;
    reapplyPosition();
}

void SplitterModel::setSplitterPos(int pos)
{
    if (m_busy & BusyPos)
        return;
    m_busy |= BusyPos;
    m_splitterPos = std::max(pos, 0);
    if (!(m_busy & BusyRatio)) {
        setRatioFromTop(ratioFromPos(getMainSize(), m_splitterPos));
        setCurrPos(m_splitterPos);
    }
    m_busy &= ~BusyPos;
}

void SplitterModel::setRatioFromTop(float ratio)
{
    if (m_busy & BusyRatio)
        return;
    m_busy |= BusyRatio;
    m_ratioFromTop = std::clamp(ratio, 0.0f, 1.0f);
    if (!(m_busy & BusyPos)) {
        setSplitterPos(posFromRatio(getMainSize(), m_ratioFromTop));
        setCurrRatio(m_ratioFromTop);
    }
    m_busy &= ~BusyRatio;
}

void SplitterModel::setMaxSize(int size)
{
    int value = std::max(size, 0);
    const int sideMinimum = m_maxSizeAppliesTo == 0 ? m_minSize1 : m_maxSizeAppliesTo == 1 ? m_minSize2 : 0;
    if (value > 0 && value < sideMinimum)
        value = sideMinimum;
    m_maxSize = value;
    reapplyPosition();
}

void SplitterModel::setMaxSizeAppliesTo(int side)
{
    m_maxSizeAppliesTo = side;
    reapplyPosition();
}

void SplitterModel::setMinSize1(int size)
{
    int value = std::max(size, 0);
    if (m_maxSizeAppliesTo == 0 && m_maxSize > 0 && value > m_maxSize)
        value = m_maxSize;
    m_minSize1 = value;
    recomputeMinTotal();
    reapplyPosition();
}

void SplitterModel::setMinSize2(int size)
{
    int value = std::max(size, 0);
    if (m_maxSizeAppliesTo == 1 && m_maxSize > 0 && value > m_maxSize)
        value = m_maxSize;
    m_minSize2 = value;
    recomputeMinTotal();
    reapplyPosition();
}

void SplitterModel::setMinSizeAux(int size)
{
    m_minSizeAux = std::max(size, 0);
    resizeHandler();
}

// --- dragging ---

void SplitterModel::mouseDown(double mouseInBar)
{
    m_dragStartPos = currSplitterPos();
    m_grabOffset = roundHalfEven(mouseInBar);
    if (!m_liveUpdate)
        m_dragLook = true;
    m_dragging = true;
}

void SplitterModel::mouseMove(double mouseInBar)
{
    if (!m_dragging)
        return;
    const int cur = currSplitterPos();
    const int wanted = roundHalfEven(mouseInBar - m_grabOffset + cur);
    const int c = clampPos(getMainSize(), wanted);
    if (c == cur)
        return;
    if (m_liveUpdate) {
        setCurrPos(c);
    } else {
        m_layoutEnabled = false;
        setCurrPos(c);
        m_layoutEnabled = true;
    }
}

void SplitterModel::mouseUp()
{
    if (!m_liveUpdate) {
        m_dragLook = false;
        layoutChildren();
    }
    setSplitterPos(currSplitterPos());
    m_dragging = false;
}

void SplitterModel::cancelDrag()
{
    if (!m_dragging)
        return;
    if (m_liveUpdate) {
        setCurrPos(m_dragStartPos);
        layoutChildren();
    } else {
        m_dragLook = false;
        setCurrPos(m_dragStartPos);
    }
    m_dragging = false;
}

} // namespace rr
