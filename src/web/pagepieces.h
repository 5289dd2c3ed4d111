#pragma once
// A rendered Web Aspect page cut into pieces that can each be laid out on their own,
// so that printing a collection of tens of thousands of Vardecks never holds more than
// one piece's layout at a time.
//
// Every piece is a whole HTML document: the page's head (its title and style links),
// then the part of the body it holds inside copies of the elements that enclosed that
// part, with their attributes. A table's heading row is made its thead, so that a
// printed table repeats it at the top of each page, and a table cut across pieces
// starts each later piece with it again. Nothing is lost nor repeated otherwise: the
// pieces' bodies put one after another hold the page's body.
#include <QByteArray>
#include <QList>
#include <QString>

namespace rr::pagepieces
{

// Cuts page (HTML, UTF-8) into pieces of at most maxNodes nodes of the body each,
// counting elements and texts; a single element that has more is cut between its
// children, and one that cannot be cut goes whole into a piece of its own. False with
// the reason when the page cannot be read.
bool split(const QByteArray &page, int maxNodes, QList<QByteArray> *pieces, QString *error = nullptr);

} // namespace rr::pagepieces
