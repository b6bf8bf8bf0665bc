// The undo journal of the current drawing: the state of every object before and after each
// undo step, so that undo and redo put the drawing back exactly.
#pragma once

#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

#include "host/drawing/database.h"

namespace host {

class UndoJournal : public ChangeRecorder {
  public:
    explicit UndoJournal(Database* drawing = nullptr) : drawing_(drawing) {}
    void Bind(Database* drawing);

    void BeforeChange(ObjectId id, const Object& before) override;
    void BeforeCountersChange() override;

    // "_UNDO" "_BEGIN" / "_END"; an END without BEGIN is refused (false).
    void BeginGroup();
    bool EndGroup();
    // The command line's bracket around one command.
    void BeginCommand();
    void EndCommand();
    // Called at the end of every sds_* call that may change the drawing: outside any
    // command and group, its changes are one step.
    void EndCall();

    int Undo(int steps);
    bool Redo();
    // Drops the whole history (a new drawing; or after a drawing is built for measuring).
    void Clear();

    // Names the drawing's state as the journal knows it: the id of the last step done that
    // changed something (0 when none did), or nothing while changes wait in an unclosed step.
    // Undoing back to a state gives its id again, so a saved state is recognised.
    std::optional<uint64_t> StateId() const;

    size_t StepCount() const { return done_.size(); }
    size_t RedoCount() const { return undone_.size(); }
    int GroupDepth() const { return depth_; }

  private:
    struct Change {
        ObjectId id;
        Object before;
        Object after;
    };
    struct Step {
        uint64_t id = 0;
        std::vector<Change> changes;
        bool countersChanged = false;
        Counters countersBefore;
        Counters countersAfter;
    };
    // Ends the pending step; an empty one is kept only when forced (a closed undo group is a
    // step even when nothing changed in it).
    void Close(bool keepEmpty = false);
    void Check() const;

    Database* drawing_ = nullptr;
    Step pending_;
    std::unordered_map<uint32_t, size_t> touched_;  // slot -> index in pending_.changes
    std::vector<Step> done_;
    std::vector<Step> undone_;
    int depth_ = 0;
    bool inCommand_ = false;
    uint64_t lastStepId_ = 0;  // never reset, so ids stay unique across cleared histories
};

// Drops the undo history of the current drawing.
void ForgetUndoHistory();

}  // namespace host
