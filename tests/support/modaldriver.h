#pragma once
#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <functional>

namespace rr::test
{

// Acts on the first modal dialog that opens while it lives, then closes the dialog if
// the action left it open; any further dialog is counted and closed, so that a test
// never hangs.
class ModalDriver
{
public:
    explicit ModalDriver(std::function<void(QDialog *)> act = {}) : m_act(std::move(act))
    {
        m_timer.setInterval(10);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            if (!dialog || dialog == m_current)
                return;
            m_current = dialog;
            m_names << dialog->objectName();
            if (m_names.size() == 1 && m_act)
                m_act(dialog);
            if (m_current && m_current->isVisible())
                m_current->reject();
        });
        m_timer.start();
    }
    // The object names of the dialogs that opened, in order.
    const QStringList &opened() const { return m_names; }

private:
    std::function<void(QDialog *)> m_act;
    QPointer<QDialog> m_current;
    QStringList m_names;
    QTimer m_timer;
};

} // namespace rr::test
