#pragma once
// What a change of the collection tells the main window: which of the Web Aspect's
// rendered pages no longer show the open database.
namespace rr
{

// The rendered Web Aspect pages a change of the collection made stale.
struct StalePages {
    bool folders = false;
    bool all = false;
    bool hits = false;
    bool favorites = false;
    // The Web Aspect, when it is shown, is to be shown again at once.
    bool reshowWebAspect = false;

    // Every page: what another database, a merge or a visit changes.
    static constexpr StalePages everyPage() { return {.folders = true, .all = true, .hits = true, .favorites = true}; }
};

} // namespace rr
