#pragma once
// The Web Aspect's rendering replaced for a test: a page asked for and a formatting
// applied go to the functions given, and nothing is made while they are empty; the
// "Use default browser formatting" box stays that of the Web Aspect offered before.
#include "platform/gui/partoperations.h"
#include "shell/webaspectoperations.h"

#include <QObject>
#include <functional>

namespace rr::test
{

class RenderingStandIn : public QObject, public WebAspectOperations
{
public:
    // Offered on window, in the place of the Web Aspect's own operations.
    explicit RenderingStandIn(QObject &window) : m_aspect(operationsOf<WebAspectOperations>(window))
    {
        offerOperations<WebAspectOperations>(window, *this, *this);
    }
    void loadAspectPage(const QString &style, const QString &pageName, bool stale) override
    {
        if (loadPage)
            loadPage(style, pageName, stale);
    }
    void applyAspectStyle(const QString &style) override
    {
        if (applyStyle)
            applyStyle(style);
    }
    void showWebAspectFormatting() override { m_aspect.showWebAspectFormatting(); }

    std::function<void(const QString &style, const QString &pageName, bool stale)> loadPage;
    std::function<void(const QString &style)> applyStyle;

private:
    WebAspectOperations &m_aspect;
};

} // namespace rr::test
