#include "explorer/shownvardeck.h"

#include "explorer/detailspanel.h"

namespace rr
{

QString shownVardeckAddress(const frmVardecks &w)
{
    return DetailsPanel::of(w).text(DetailsField::AddressBox);
}

QString shownVardeckName(const frmVardecks &w)
{
    return DetailsPanel::of(w).text(DetailsField::NameBox);
}

} // namespace rr
