#pragma once
#include <QString>

namespace rr
{

// A page found open in a running browser, as a new Vardeck takes it over.
struct DetectedPage {
    QString address;
    QString name;
    QString description;
    QString keywords;
    QString size; // in KB, as text
    QString browser;
};

} // namespace rr
