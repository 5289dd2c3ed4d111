#include "platform/gui/partoperations.h"

#include <QPointer>
#include <unordered_map>

namespace rr::detail
{

namespace
{

// The window's offers, kept by a hidden child of the window so that they go with it.
class OfferedOperations : public QObject
{
public:
    struct Offer {
        QPointer<QObject> provider;
        void *operations = nullptr;
    };

    explicit OfferedOperations(QObject &window) : QObject(&window) { setObjectName(QString::fromLatin1(name)); }

    static OfferedOperations *of(const QObject &window)
    {
        // Only this file names a child so; the class has no meta-object of its own.
        return static_cast<OfferedOperations *>(
            window.findChild<QObject *>(QString::fromLatin1(name), Qt::FindDirectChildrenOnly));
    }

    std::unordered_map<std::type_index, Offer> offers;

    static constexpr const char *name = "rrOfferedOperations";
};

} // namespace

void *offeredOperations(const QObject &window, std::type_index type)
{
    const OfferedOperations *held = OfferedOperations::of(window);
    if (!held)
        return nullptr;
    const auto found = held->offers.find(type);
    if (found == held->offers.end() || found->second.provider.isNull())
        return nullptr;
    return found->second.operations;
}

void offerOperations(QObject &window, std::type_index type, QObject &provider, void *operations)
{
    OfferedOperations *held = OfferedOperations::of(window);
    if (!held)
        held = new OfferedOperations(window);
    held->offers[type] = OfferedOperations::Offer{QPointer<QObject>(&provider), operations};
}

} // namespace rr::detail
