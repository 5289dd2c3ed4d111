#pragma once
// The tip of the day: one tip record and the fixed table of 52 tips the tip window
// shows in turn. Each tip names the page of the help folder that tells more.
#include <QList>
#include <QString>

namespace rr
{

class TipSupport
{
public:
    QString getTipId() const { return m_id; }
    QString getTipShortText() const { return m_shortText; }
    QString getTipHelpURL() const { return m_helpURL; }
    QString getTipLongText() const { return m_longText; }
    void setTipHelpURL(const QString &page) { m_helpURL = page; }
    void setTipId(const QString &id) { m_id = id; }
    void setTipShortText(const QString &text) { m_shortText = text; }
    void setTipLongText(const QString &text) { m_longText = text; }

private:
    QString m_id;
    QString m_shortText;
    QString m_longText;
    QString m_helpURL;
};

// Replaces tipList with the 52 tips in id order.
void loadTips(QList<TipSupport> &tipList);

// The list position (1-based) of the tip to show after the one stored in LastTip:
// empty counts as 0, the one after the last tip is the first, and anything that is not
// a number between 0 and count - 1 starts again at 1.
int nextTipPosition(const QString &lastTip, int count);

} // namespace rr
