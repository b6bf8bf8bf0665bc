// The session around the current drawing: names, sets, the drawing's replacement.
#include "host/drawing/session.h"

#include <limits>
#include <system_error>
#include <thread>

#include "host/drawing/document.h"
#include "host/drawing/drawing_access.h"
#include "host/drawing/journal.h"
#include "host/drawing/object_rules.h"
#include "host/drawing/standard_linetypes.h"

namespace host {

namespace {

long NextSerial() {
    static long serial = 0;
    return ++serial;
}

// Freeing a large drawing takes a good part of a second: a replaced one is freed on a thread
// of its own while the new one is used. One at a time; the last is waited for at exit.
class Releaser {
  public:
    ~Releaser() { Wait(); }
    void Release(Database&& drawing) {
        constexpr uint32_t kLargeSlots = 10000;
        if (drawing.SlotCount() < kLargeSlots)
            return;  // freed by the caller at once
        Wait();
        try {
            // The thread's copy of the lambda, and the drawing in it, is freed by the thread.
            thread_ = std::thread([old = std::move(drawing)] {});
        } catch (const std::system_error&) {
            // No thread to be had: the lambda, and the drawing with it, are freed here.
        }
    }

  private:
    void Wait() {
        if (thread_.joinable())
            thread_.join();
    }
    std::thread thread_;
};

}  // namespace

Session& GetSession() {
    static Session* session = [] {
        Session* made = new Session();
        made->serial = NextSerial();
        made->journal.Bind(&made->drawing);
        return made;
    }();
    return *session;
}

Database& CurrentDrawing() {
    return GetSession().drawing;
}

long CurrentDrawingSerial() {
    return GetSession().serial;
}

DrawingChanges ChangesSince(long drawing, uint64_t version) {
    const Session& session = GetSession();
    DrawingChanges changes{session.serial, session.drawing.Changes().Version(), std::nullopt};
    if (drawing == session.serial)
        changes.changed = session.drawing.Changes().Since(version);
    return changes;
}

void ReplaceDrawing(Database&& drawing) {
    Session& session = GetSession();
    static Releaser releaser;
    Database replaced = std::move(session.drawing);
    session.drawing = std::move(drawing);
    releaser.Release(std::move(replaced));
    session.serial = NextSerial();
    session.sets.clear();
    session.pickFirst.reset();
    session.highlighted.clear();
    session.journal.Bind(&session.drawing);
    session.savedState = session.journal.StateId();
    session.drawingFile.clear();
}

void MarkDrawingSaved(const std::string& path) {
    Session& session = GetSession();
    session.savedState = session.journal.StateId();
    session.drawingFile = path;
}

bool DrawingChanged() {
    const Session& session = GetSession();
    const std::optional<uint64_t> now = session.journal.StateId();
    return !now || now != session.savedState;
}

const std::string& DrawingFile() {
    return GetSession().drawingFile;
}

void NewDrawing() {
    ReplaceDrawing(Database());
    Session& session = GetSession();
    session.variables = SystemVariables{};
    session.lastError.clear();
}

void ToName(ObjectId id, sds_name name) {
    name[0] = id ? static_cast<long>(id.value) : 0;
    name[1] = id ? GetSession().serial : 0;
}

ObjectId FromName(const sds_name name) {
    if (name == nullptr || name[1] != GetSession().serial || name[0] <= 0 ||
        name[0] > std::numeric_limits<uint32_t>::max()) {
        return {};
    }
    ObjectId id{static_cast<uint32_t>(name[0])};
    return CurrentDrawing().Find(id) ? id : ObjectId{};
}

ObjectId LiveFromName(const sds_name name) {
    ObjectId id = FromName(name);
    return CurrentDrawing().FindLive(id) ? id : ObjectId{};
}

// Set names carry the serial negated, so that a set's name is never taken for an entity's.
void ToSetName(SelectionSetId id, sds_name name) {
    name[0] = static_cast<long>(id.value);
    name[1] = -GetSession().serial;
}

std::vector<ObjectId>* FindSet(const sds_name name) {
    Session& session = GetSession();
    if (name == nullptr || name[1] != -session.serial || name[0] <= 0 ||
        static_cast<unsigned long>(name[0]) >= session.sets.size()) {
        return nullptr;
    }
    auto& slot = session.sets[static_cast<size_t>(name[0])];
    return slot ? &*slot : nullptr;
}

SelectionSetId NewSet(std::vector<ObjectId> members) {
    Session& session = GetSession();
    if (session.sets.empty())
        session.sets.resize(1);
    for (size_t i = 1; i < session.sets.size(); ++i) {
        if (!session.sets[i]) {
            session.sets[i] = std::move(members);
            return SelectionSetId{static_cast<uint32_t>(i)};
        }
    }
    session.sets.emplace_back(std::move(members));
    return SelectionSetId{static_cast<uint32_t>(session.sets.size() - 1)};
}

int Refuse(std::string reason) {
    GetSession().lastError = std::move(reason);
    return RTERROR;
}

const std::string& LastError() {
    return GetSession().lastError;
}

bool IsHighlighted(const sds_name entity) {
    ObjectId id = FromName(entity);
    return id && GetSession().highlighted.contains(id.value);
}

bool EnsureStandardLinetype(const std::string& name) {
    Database& drawing = CurrentDrawing();
    if (EqualNoCase(name, "CONTINUOUS"))
        return true;
    const StandardLinetype* linetype = FindStandardLinetype(name);
    if (!linetype)
        return false;
    if (drawing.FindTableEntry("LTYPE", name))
        return true;
    GroupList list;
    list.AddText(0, "LTYPE");
    list.AddText(2, linetype->name);
    list.Append(LinetypeEntryBody(*linetype));
    return static_cast<bool>(drawing.Make(list));
}

const std::vector<std::string>& LoadedMenus() {
    return GetSession().menus;
}

int OpenUndoGroups() {
    return GetSession().journal.GroupDepth();
}

void BeginCommandStep() {
    GetSession().journal.BeginCommand();
}

void EndCommandStep() {
    GetSession().journal.EndCommand();
}

int UndoSteps(int n) {
    if (n <= 0)
        return 0;
    return GetSession().journal.Undo(n);
}

bool RedoStep() {
    return GetSession().journal.Redo();
}

void ForgetUndoHistory() {
    Session& session = GetSession();
    session.journal.Bind(&session.drawing);
}

}  // namespace host
