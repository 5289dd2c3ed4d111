#include "explorer/shownvardeck.h"

#include "explorer/detailspanel.h"

namespace rr
{

QString shownVardeckAddress(const frmVardecks &w)
{
    return DetailsPanel::of(w).detailsText(DetailsField::AddressBox);
}

QString shownVardeckName(const frmVardecks &w)
{
    return DetailsPanel::of(w).detailsText(DetailsField::NameBox);
}

} // namespace rr
