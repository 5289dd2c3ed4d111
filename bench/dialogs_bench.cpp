// Times the duplicate-address scan over a generated collection of 32,767 Vardecks, a
// tenth of them repeating an earlier address, against its floor: every address read
// straight from the tree as UTF-8 bytes, normalised without a copy and grouped
// through a hash. Checks that both find the same sets in the same order; the two are
// timed in turn, round by round (min/median/max).
//   full scan vs the hash floor     goal <= 2, and under 250 ms
// Exits non-zero when a goal is missed or the sets differ.
// Usage: dialogs_bench [runs] [vardecks]
#include "benchtime.h"
#include "collectiongen.h"
#include "dialogs/duplicatesets.h"
#include "storage/session.h"
#include "storage/xmldatabase.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <libxml/tree.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <unordered_map>
#include <vector>

using namespace rr;

namespace
{

// The address after everything up to and including the first "//", without one
// trailing "/", as the duplicate search compares addresses.
std::string_view normalised(std::string_view address)
{
    const size_t slashes = address.find("//");
    if (slashes == std::string_view::npos)
        return address;
    address.remove_prefix(slashes + 2);
    if (!address.empty() && address.back() == '/')
        address.remove_suffix(1);
    return address;
}

// The floor: each ADDRESS element's text as libxml2 holds it, grouped through a hash
// of the normalised bytes; the sets are built in the full scan's order.
QList<DuplicateSet> hashFloor(const XmlDocument &doc)
{
    std::vector<xmlNodePtr> vardecks;
    std::unordered_map<std::string_view, size_t> groupOf;
    std::vector<std::vector<size_t>> groups;
    xmlNodePtr root = doc.documentElement().raw();
    for (xmlNodePtr node = root; node;) {
        if (node->type == XML_ELEMENT_NODE && node->parent && std::strcmp((const char *)node->name, "ADDRESS") == 0) {
            const char *text = node->children && node->children->content ? (const char *)node->children->content : "";
            const auto [at, added] = groupOf.try_emplace(normalised(text), groups.size());
            if (added)
                groups.emplace_back();
            groups[at->second].push_back(vardecks.size());
            vardecks.push_back(node->parent);
        } else if (node->children && node->type == XML_ELEMENT_NODE) {
            node = node->children;
            continue;
        }
        while (node && node != root && !node->next)
            node = node->parent;
        node = node == root || !node ? nullptr : node->next;
    }
    QList<DuplicateSet> sets;
    for (const std::vector<size_t> &group : groups) {
        if (group.size() < 2)
            continue;
        DuplicateSet set;
        for (size_t k = 1; k < group.size(); ++k)
            set.append(XmlNode(vardecks[group[k]]));
        set.append(XmlNode(vardecks[group.front()]));
        sets.append(set);
    }
    return sets;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    rr::Session benchSession;
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 7;
    const int vardecks = argc > 2 ? std::max(2, atoi(argv[2])) : 32767;
    QTemporaryDir dir;
    qputenv("RAZUZEZU_HOME", dir.path().toUtf8());
    bench::CollectionShape shape;
    shape.vardecks = vardecks;
    shape.duplicatePercent = 10;
    const QString path = bench::writeCollection(dir.path() + QStringLiteral("/DeVivozoda"), "Vardecks.xml", shape);
    XMLDatabase db;
    if (!db.openDBValidate(path)) {
        std::fprintf(stderr, "cannot open the generated collection\n");
        return 1;
    }
    const XmlDocument &doc = *db.getTheDOM();

    QList<DuplicateSet> sets, floorSets;
    const bench::PairTimes t = bench::alternate(runs, {{}, [&] { sets = findDuplicateSets(doc); }, {}},
                                                {{}, [&] { floorSets = hashFloor(doc); }, {}});
    const bool same = sets == floorSets && !sets.isEmpty();
    const double ratio = 1 / t.ratio.median;
    const bool met = ratio <= 2 && t.a.median < 250;
    std::printf("%d Vardecks, %lld duplicate sets: full scan %s ms vs hash of the normalised addresses %s ms "
                "(min/median/max of %d rounds): ratio %.2f (goal <= 2, and under 250 ms) %s%s\n",
                vardecks, static_cast<long long>(sets.size()), bench::formatSpread(t.a).c_str(),
                bench::formatSpread(t.b).c_str(), runs, ratio, bench::verdict(met), same ? "" : "  SETS DIFFER");
    return same && met ? 0 : 1;
}
