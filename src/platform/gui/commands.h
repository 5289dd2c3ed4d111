#pragma once
// The one registry of what the main window's menus, toolbars, buttons and keys run.
//
// Every command a menu item, toolbar button, pane button, check box or key runs is a
// named slot of Commands, and so is the start of an add, which the Get button, drops,
// the hand-off of a later launch and the detected-pages dialog share. The slot's name
// is the handler's name. The subsystems attach their behaviour when the program is put
// together (w.commands.mnuAddVardeck_Click = …), and the tables of menus, toolbar
// buttons, popups and keys hold a slot as a pointer to member
// (&Commands::mnuFileOpen_Click). So a misspelt name is a compile error, and a slot
// nobody attached is listed by missing(), which the assembled program checks at
// start-up. What one part asks of another is not here: it is a function of the part's
// own header, or, for a caller in a library below the part, a class of operations the
// part offers on the window (partoperations.h).
//
// A slot run before anything is attached to it is a programming error: it is reported
// on stderr and does nothing (the window's controls may report an event while it is
// still being put together, and tests put together only part of it).
#include "platform/gui/entrylist.h"
#include "platform/gui/listpopupentries.h"
#include "platform/gui/windowevents.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <tuple>
#include <type_traits>

namespace rr
{

struct DetectedPage;

class CommandSlot
{
public:
    CommandSlot(const CommandSlot &) = delete;
    CommandSlot &operator=(const CommandSlot &) = delete;
    const char *name() const { return m_name; }
    virtual bool isAttached() const = 0;

protected:
    CommandSlot(QList<const CommandSlot *> &registry, const char *name) : m_name(name) { registry.append(this); }
    ~CommandSlot() = default;
    void reportUnattached() const;

private:
    const char *m_name;
};

template <typename Signature> class Slot;

template <typename R, typename... Args> class Slot<R(Args...)> : public CommandSlot
{
public:
    using Function = std::function<R(Args...)>;
    Slot(QList<const CommandSlot *> &registry, const char *name) : CommandSlot(registry, name) {}

    Slot &operator=(Function function)
    {
        m_function = std::move(function);
        return *this;
    }
    bool isAttached() const override { return bool(m_function); }

    R operator()(Args... args) const
    {
        if (!m_function) {
            reportUnattached();
            if constexpr (std::is_void_v<R>)
                return;
            else
                return R{};
        }
        // A copy, so that a command may replace itself while it runs.
        const Function function = m_function;
        return function(std::forward<Args>(args)...);
    }

private:
    Function m_function;
};

// What runs before every command of a control, whichever menu item, toolbar button,
// pane button or key started it: the parts of the window end there what a command
// must not find half done (a folder name typed in place and not yet confirmed). Each
// step does nothing when there is nothing to end, so a command run from inside
// another finds its steps done already.
class CommandPrologue
{
public:
    void add(std::function<void()> step) { m_steps.append(std::move(step)); }
    void run() const
    {
        // A copy, so that a step may add another while it runs.
        const QList<std::function<void()>> steps = m_steps;
        for (const std::function<void()> &step : steps)
            step();
    }

private:
    QList<std::function<void()>> m_steps;
};

// Where a command waits that comes while window events pass in the middle of long
// work (an import's progress, a save: windowevents.h), as a queued call (a later
// launch's hand-off) can bring it: it runs once the work has ended, from the event
// loop, and not at all once the window's commands are gone. The user's own clicks and
// keys do not reach the window meanwhile.
class CommandDoor
{
public:
    // True when command waits (it then runs later); false when it may run now.
    bool defers(std::function<void()> command) const
    {
        if (!windowevents::passingEvents())
            return false;
        windowevents::postpone([alive = std::weak_ptr<const int>(m_alive), command = std::move(command)] {
            if (alive.lock())
                command();
        });
        return true;
    }
    bool open() const { return !windowevents::passingEvents(); }

private:
    std::shared_ptr<const int> m_alive = std::make_shared<const int>(0);
};

// What a command does to an edit under way (a Vardeck being added or modified).
enum class OnEdit {
    // It works beside the edit.
    Keeps,
    // It ends a modification; an add goes on with it (a folder made or shown is where
    // the new Vardeck can go).
    EndsModification,
    // It ends any edit, or starts another in its place.
    Ends,
};

// What a command states about an edit: one effect whatever its index, or, for a command
// of an item array, the effect of the elements listed (the others keep the edit).
class EditEffect
{
public:
    EditEffect(OnEdit effect) : m_effect(effect) {}
    template <typename Entry>
    requires std::is_enum_v<Entry> EditEffect(OnEdit effect, std::initializer_list<Entry> elements) : m_effect(effect)
    {
        for (Entry element : elements)
            m_elements.append(int(element));
    }
    OnEdit at(int index) const { return m_elements.isEmpty() || m_elements.contains(index) ? m_effect : OnEdit::Keeps; }

private:
    OnEdit m_effect;
    QList<int> m_elements;
};

// The one question before an edit is dropped. The part that owns the edit attaches
// what asks and, on Yes, ends the edit; every command that states it ends the edit
// runs it before its own work, whichever menu item, popup entry, toolbar button, key
// or drop started it, so that the command finds no edit left half done.
class EditGuard
{
public:
    void attach(std::function<bool(OnEdit)> ask) { m_ask = std::move(ask); }
    // A step run when the user keeps the edit: the lists put their highlight back on
    // the Vardeck being edited, away from the row a click or a key moved it to.
    void whenKept(std::function<void()> step) { m_kept.append(std::move(step)); }
    // True when work with this effect may go on: it keeps the edit, there is none to
    // end, or the user agreed and the edit was ended.
    bool allows(OnEdit effect) const
    {
        if (effect == OnEdit::Keeps || !m_ask || m_ask(effect))
            return true;
        const QList<std::function<void()>> steps = m_kept;
        for (const std::function<void()> &step : steps)
            step();
        return false;
    }
    // The part that owns the edit says which Vardeck is being modified ("" when none is).
    void attachEdited(std::function<QString()> edited) { m_edited = std::move(edited); }
    // Whether wid names the Vardeck being modified.
    bool isEdited(const QString &wid) const
    {
        return !wid.isEmpty() && m_edited && QString::compare(m_edited(), wid, Qt::CaseInsensitive) == 0;
    }

private:
    std::function<bool(OnEdit)> m_ask;
    std::function<QString()> m_edited;
    QList<std::function<void()>> m_kept;
};

// A command of a control: it runs with the index of the array element (or button
// number) that started it, 0 for plain commands, after the window's prologue and, when
// it ends an edit, the question.
class Handler : public Slot<void(int)>
{
public:
    Handler(QList<const CommandSlot *> &registry, const char *name, const CommandDoor &door,
            const CommandPrologue &prologue, const EditGuard &guard, EditEffect effect)
        : Slot(registry, name), m_door(door), m_prologue(prologue), m_guard(guard), m_effect(std::move(effect))
    {
    }
    using Slot::operator=;
    // What running the element index does to an edit under way.
    OnEdit effectAt(int index) const { return m_effect.at(index); }
    // A command that shows the Vardeck of a list's row: the list says how to read the
    // row it would show. The row of the Vardeck being modified is that Vardeck, shown and
    // edited already: the command asks nothing and does nothing.
    void showsRow(std::function<QString()> row) { m_row = std::move(row); }
    void operator()(int index = 0) const
    {
        if (m_door.defers([this, index] { (*this)(index); }))
            return;
        m_prologue.run();
        if (m_row && m_guard.isEdited(m_row()))
            return;
        if (m_guard.allows(m_effect.at(index)))
            Slot::operator()(index);
    }

private:
    const CommandDoor &m_door;
    const CommandPrologue &m_prologue;
    const EditGuard &m_guard;
    EditEffect m_effect;
    std::function<QString()> m_row;
};

// An operation that ends an edit (starting an add puts an empty or filled-in Vardeck in
// the details): asked first, like a command; refused, it does nothing.
template <typename Signature> class EditEndingSlot;
template <typename... Args> class EditEndingSlot<void(Args...)> : public Slot<void(Args...)>
{
public:
    EditEndingSlot(QList<const CommandSlot *> &registry, const char *name, const CommandDoor &door,
                   const EditGuard &guard, OnEdit effect)
        : Slot<void(Args...)>(registry, name), m_door(door), m_guard(guard), m_effect(effect)
    {
    }
    using Slot<void(Args...)>::operator=;
    void operator()(Args... args) const
    {
        if (m_door.defers([this, kept = std::make_tuple(std::decay_t<Args>(args)...)] { std::apply(*this, kept); }))
            return;
        if (m_guard.allows(m_effect))
            Slot<void(Args...)>::operator()(std::forward<Args>(args)...);
    }

private:
    const CommandDoor &m_door;
    const EditGuard &m_guard;
    OnEdit m_effect;
};

// A handler of a table: which slot of Commands a menu item, button or key runs.
class Commands;
using HandlerRef = Handler Commands::*;

// RR_HANDLER(name, effect): every handler states what it does to an edit under way
// (OnEdit::Keeps written out too), so none can leave it unsaid.
#define RR_HANDLER(name, effect)                                                                                       \
    Handler name                                                                                                       \
    {                                                                                                                  \
        m_slots, #name, m_door, m_prologue, m_editGuard, effect                                                        \
    }
#define RR_EDIT_ENDING_OPERATION(name, effect, ...)                                                                    \
    EditEndingSlot<__VA_ARGS__> name                                                                                   \
    {                                                                                                                  \
        m_slots, #name, m_door, m_editGuard, effect                                                                    \
    }

class Commands
{
    // Every slot, in declaration order; filled by the slots themselves.
    QList<const CommandSlot *> m_slots;
    // Before the handlers, which keep a reference to them.
    CommandDoor m_door;
    CommandPrologue m_prologue;
    EditGuard m_editGuard;

public:
    Commands() = default;
    Commands(const Commands &) = delete;
    Commands &operator=(const Commands &) = delete;

    // The names of the slots nothing is attached to; empty once the program is put together.
    QStringList missing() const;
    // Every slot's name, in declaration order.
    QStringList names() const;
    // Adds a step to what runs before every handler (see CommandPrologue).
    void beforeEveryCommand(std::function<void()> step) { m_prologue.add(std::move(step)); }
    // Attaches the question every command that ends an edit runs first (see EditGuard):
    // ask returns whether the work may go on, and has ended the edit when it does.
    void guardEdits(std::function<bool(OnEdit)> ask) { m_editGuard.attach(std::move(ask)); }
    // Adds a step to what runs when the question is answered No (see EditGuard).
    void whenEditKept(std::function<void()> step) { m_editGuard.whenKept(std::move(step)); }
    // Attaches what names the Vardeck being modified (see Handler::showsRow).
    void whenModifying(std::function<QString()> edited) { m_editGuard.attachEdited(std::move(edited)); }
    // What a click, a key or a drop that is no command runs before it ends an edit: the
    // same question, true when the work may go on. False, unasked, while window events
    // pass in the middle of long work.
    bool mayEndEdit(OnEdit effect) const { return m_door.open() && m_editGuard.allows(effect); }

    // ----- File -----
    RR_HANDLER(mnuFileNew_Click, OnEdit::Keeps);
    RR_HANDLER(mnuFileOpen_Click, OnEdit::Keeps);
    RR_HANDLER(mnuFileBackup_Click, OnEdit::Keeps);
    RR_HANDLER(mnuFileClose_Click, OnEdit::Ends);
    RR_HANDLER(mnuFileDeleteDB_Click, OnEdit::Keeps);
    RR_HANDLER(mnuFilePrint_Click, OnEdit::Keeps);
    RR_HANDLER(mnuFileImportExport_Click, OnEdit::Keeps);
    RR_HANDLER(mnuEmailVD_Click, OnEdit::Keeps);
    RR_HANDLER(mnuEmailAllFolders_Click, OnEdit::Keeps);
    RR_HANDLER(mnuEmailAllVardecks_Click, OnEdit::Keeps);
    RR_HANDLER(mnuEmailFavorites_Click, OnEdit::Keeps);
    RR_HANDLER(mnuFileExit_Click, OnEdit::Keeps);
    // ----- Aspect -----
    RR_HANDLER(mnuAspectExplorer_Click, OnEdit::Keeps);
    RR_HANDLER(mnuAspectWeb_Click, OnEdit::Keeps);
    // ----- Edit -----
    RR_HANDLER(mnuAddVardeck_Click, OnEdit::Ends);
    RR_HANDLER(mnuEditModify_Click, OnEdit::Keeps);
    RR_HANDLER(mnuEditDelete_Click, OnEdit::Ends);
    RR_HANDLER(mnuAddTopic_Click, OnEdit::EndsModification);
    RR_HANDLER(mnuEditModifyTopic_Click, OnEdit::Ends);
    RR_HANDLER(mnuEditDeleteTopic_Click, OnEdit::Ends);
    RR_HANDLER(mnuEditClipVD_Click, OnEdit::Keeps);
    RR_HANDLER(mnuEditClipName_Click, OnEdit::Keeps);
    RR_HANDLER(mnuEditClipURL_Click, OnEdit::Keeps);
    RR_HANDLER(mnuEditClipDesc_Click, OnEdit::Keeps);
    RR_HANDLER(mnuEditClipNotes_Click, OnEdit::Keeps);
    RR_HANDLER(mnuEditClipKeywords_Click, OnEdit::Keeps);
    // ----- Go (F2 to F5 too) -----
    RR_HANDLER(mnuNav_Click, OnEdit::Keeps);
    // ----- View -----
    RR_HANDLER(mnuViewIndex_Click, OnEdit::Keeps);
    RR_HANDLER(mnuViewSearch_Click, OnEdit::Keeps);
    RR_HANDLER(mnuViewFavs_Click, OnEdit::Keeps);
    RR_HANDLER(mnuViewPop_Click, OnEdit::Keeps);
    RR_HANDLER(mnuViewSearchResults_Click, OnEdit::Keeps);
    RR_HANDLER(mnuViewVardecks_Click, OnEdit::Keeps);
    RR_HANDLER(mnuViewDetails_Click, OnEdit::Keeps);
    RR_HANDLER(mnuViewPreview_Click, OnEdit::Keeps);
    RR_HANDLER(mnuViewNotes_Click, OnEdit::Keeps);
    RR_HANDLER(mnuViewStats_Click, OnEdit::Keeps);
    // ----- Tools -----
    RR_HANDLER(mnuToolsGet_Click, OnEdit::Keeps);
    RR_HANDLER(mnuToolsOpen_Click, OnEdit::Keeps);
    RR_HANDLER(mnuToolsOpenHome_Click, OnEdit::Keeps);
    RR_HANDLER(mnuToolsOpenBlank_Click, OnEdit::Keeps);
    RR_HANDLER(mnuToolsCloseAll_Click, OnEdit::Keeps);
    RR_HANDLER(mnuToolsIntegrate_Click, OnEdit::Keeps);
    RR_HANDLER(mnuUndoIntegration_Click, OnEdit::Keeps);
    RR_HANDLER(mnuToolsIntegrateFF_Click, OnEdit::Keeps);
    RR_HANDLER(mnuToolsDup_Click, OnEdit::Keeps);
    RR_HANDLER(mnuClearPop_Click, OnEdit::Keeps);
    RR_HANDLER(mnuToolsSynch_Click, OnEdit::Keeps);
    RR_HANDLER(mnuToolsSynchFolder_Click, OnEdit::Keeps);
    RR_HANDLER(mnuToolsSynchAll_Click, OnEdit::Keeps);
    RR_HANDLER(mnuToolsIconVD_Click, OnEdit::Keeps);
    RR_HANDLER(mnuToolsIconFolder_Click, OnEdit::Keeps);
    RR_HANDLER(mnuToolsIconAll_Click, OnEdit::Keeps);
    RR_HANDLER(mnuToolsIconFile_Click, OnEdit::Keeps);
    RR_HANDLER(mnuToolsIconRemove_Click, OnEdit::Keeps);
    RR_HANDLER(mnuThumbVD_Click, OnEdit::Keeps);
    RR_HANDLER(mnuThumbFolder_Click, OnEdit::Keeps);
    RR_HANDLER(mnuThumbAll_Click, OnEdit::Keeps);
    RR_HANDLER(mnuThumbRemove_Click, OnEdit::Keeps);
    RR_HANDLER(mnuToolsSearchText_Click, OnEdit::Keeps);
    RR_HANDLER(mnuToolsSearchKeywords_Click, OnEdit::Keeps);
    RR_HANDLER(mnuToolsSearchName_Click, OnEdit::Keeps);
    RR_HANDLER(mnuToolsSearchAddress_Click, OnEdit::Keeps);
    RR_HANDLER(mnuToolsSearchNotes_Click, OnEdit::Keeps);
    RR_HANDLER(mnuToolsSearchDesc_Click, OnEdit::Keeps);
    RR_HANDLER(mnuToolsOptions_Click, OnEdit::Keeps);
    // ----- Favorites and Recent (first and second are their item arrays) -----
    RR_HANDLER(mnuFavsAdd_Click, OnEdit::Keeps);
    RR_HANDLER(mnuFavsDelete_Click, OnEdit::Keeps);
    RR_HANDLER(first_Click, OnEdit::Keeps);
    RR_HANDLER(mnuRecentClear_Click, OnEdit::Keeps);
    RR_HANDLER(second_Click, OnEdit::Keeps);
    // ----- Help -----
    RR_HANDLER(mnuHelpTopics_Click, OnEdit::Keeps);
    RR_HANDLER(mnuHelpStart_Click, OnEdit::Keeps);
    RR_HANDLER(mnuHelpAdd_Click, OnEdit::Keeps);
    RR_HANDLER(mnuHelpShortcuts_Click, OnEdit::Keeps);
    RR_HANDLER(mnuHelpTips_Click, OnEdit::Keeps);
    RR_HANDLER(mnuHelpAbout_Click, OnEdit::Keeps);
    RR_HANDLER(mnuHelpWeb_Click, OnEdit::Keeps);
    RR_HANDLER(mnuHelpFeedback_Click, OnEdit::Keeps);
    RR_HANDLER(mnuHelpEmail_Click, OnEdit::Keeps);
    // ----- Popup menus -----
    RR_HANDLER(mnuOpenN_Click, OnEdit::Ends);
    RR_HANDLER(mnuOpenVD_Click, OnEdit::Keeps);
    RR_HANDLER(mnuOpenVDHome_Click, OnEdit::Keeps);
    RR_HANDLER(mnuMoveVD_Click, OnEdit::Keeps);
    // Update Vardeck of a popup asks itself, unless it names the Vardeck being modified.
    RR_HANDLER(mnuModVD_Click, OnEdit::Keeps);
    RR_HANDLER(mnuDeleteVD_Click, OnEdit::Ends);
    RR_HANDLER(mnuCopyVD_Click, OnEdit::Keeps);
    RR_HANDLER(mnuAddFavsVD_Click, OnEdit::Keeps);
    RR_HANDLER(mnuNewFolder_Click, OnEdit::EndsModification);
    RR_HANDLER(mnuOpenF_Click, OnEdit::EndsModification);
    RR_HANDLER(mnuMoveFolder_Click, OnEdit::Ends);
    RR_HANDLER(mnuRenameFolder_Click, OnEdit::Ends);
    RR_HANDLER(mnuDeleteFolder_Click, OnEdit::Ends);
    RR_HANDLER(mnuCopy_Click, OnEdit::Keeps);
    RR_HANDLER(mnuCopyAll2_Click, OnEdit::Keeps);
    RR_HANDLER(mnuAddFavsVD2_Click, OnEdit::Keeps);
    RR_HANDLER(mnuModFolder_Click, OnEdit::Ends);
    // New, Open and Delete Vardeck of the list popup end an edit; its Update Vardeck
    // asks itself, as the Vardeck popup's does.
    RR_HANDLER(mnuList_Click,
               (EditEffect{OnEdit::Ends,
                           {ListPopupEntry::NewVardeck, ListPopupEntry::OpenVardeck, ListPopupEntry::DeleteVardeck}}));
    // Delete Vardecks ends an edit.
    RR_HANDLER(mnuMulti_Click, (EditEffect{OnEdit::Ends, {MultiPopupEntry::DeleteVardecks}}));
    // ----- Toolbar: Save (Ctrl+S) and Cancel (Esc) of an edit -----
    RR_HANDLER(saveVardeckDetails, OnEdit::Keeps);
    RR_HANDLER(cancelVardeckEdit, OnEdit::Keeps);
    // ----- The panes' buttons and check boxes -----
    RR_HANDLER(cmdMoveVD_Click, OnEdit::Keeps);
    RR_HANDLER(cmdMoveFolder_Click, OnEdit::Ends);
    RR_HANDLER(cmdSearch_Click, OnEdit::Keeps);
    RR_HANDLER(chkSearch_Click, OnEdit::Keeps);
    RR_HANDLER(chkOpt_Click, OnEdit::Keeps);
    RR_HANDLER(chkOptt_Click, OnEdit::Keeps);
    RR_HANDLER(cmdFAdd_Click, OnEdit::Keeps);
    RR_HANDLER(cmdFDelete_Click, OnEdit::Keeps);
    RR_HANDLER(cmdAddFavs_Click, OnEdit::Keeps);
    RR_HANDLER(chkFav_Click, OnEdit::Keeps);
    RR_HANDLER(cmdSearchHome_Click, OnEdit::Keeps);
    RR_HANDLER(cmdEdit_Click, OnEdit::Keeps);
    RR_HANDLER(cmdPreview_Click, OnEdit::Keeps);
    RR_HANDLER(chkAutoPreview_Click, OnEdit::Keeps);
    RR_HANDLER(cmdWeb_Click, OnEdit::Keeps);
    RR_HANDLER(chkWebAspectBrowser_Click, OnEdit::Keeps);
    // ----- Events of the lists, labels and timer -----
    RR_HANDLER(lblTName_Change, OnEdit::Keeps);
    RR_HANDLER(lblWName_Change, OnEdit::Keeps);
    RR_HANDLER(displayWM, OnEdit::Ends);
    RR_HANDLER(listVD_DblClick, OnEdit::Ends);
    RR_HANDLER(lstSrch_Click, OnEdit::Ends);
    RR_HANDLER(lstSearch_DblClick, OnEdit::Ends);
    RR_HANDLER(listPop_Click, OnEdit::Ends);
    RR_HANDLER(tvwFavs_NodeClick, OnEdit::Ends);

    // ----- Explorer: the folder tree, the shown folder's Vardecks, the details panel -----
    // Starts adding a Vardeck, filled from the page it is made from (none: an empty
    // add). It takes the place of an edit under way, so it asks first.
    RR_EDIT_ENDING_OPERATION(addVardeckSetup, OnEdit::Ends, void(std::optional<DetectedPage> page));

    // ----- the finding panes' operations: the Search, Favorites and Popular tabs, the search results -----
};

#undef RR_HANDLER
#undef RR_EDIT_ENDING_OPERATION

inline void CommandSlot::reportUnattached() const
{
    qWarning("no command is attached to %s", m_name);
}

inline QStringList Commands::missing() const
{
    QStringList names;
    for (const CommandSlot *slot : m_slots) {
        if (!slot->isAttached())
            names.append(QString::fromLatin1(slot->name()));
    }
    return names;
}

inline QStringList Commands::names() const
{
    QStringList all;
    for (const CommandSlot *slot : m_slots)
        all.append(QString::fromLatin1(slot->name()));
    return all;
}

} // namespace rr
