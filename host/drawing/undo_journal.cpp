// The undo journal.
//
// Invariants (checked after every closed, undone and redone step in builds with assertions):
//  - every change of the drawing between two closings is in pending_, with the state of its
//    object before the first change of the step (touched_ indexes pending_.changes);
//  - a closed step holds each object once, with its state before and after the step; undoing
//    applies the "before" states in reverse order, redoing the "after" states in order, and
//    the drawing then satisfies Database::CheckInvariants;
//  - undone_ is emptied as soon as a new step closes, so redo never applies a step on top of
//    a drawing it was not recorded against;
//  - depth_ counts open "_UNDO _BEGIN" groups and is never negative.
#include "host/drawing/undo_journal.h"

#include <cstdlib>

namespace host {

void UndoJournal::Bind(Database* drawing) {
    Clear();
    drawing_ = drawing;
    if (drawing_)
        drawing_->SetRecorder(this);
}

void UndoJournal::BeforeChange(ObjectId id, const Object& before) {
    if (touched_.contains(id.value))
        return;
    touched_.emplace(id.value, pending_.changes.size());
    pending_.changes.push_back(Change{id, before, Object{}});
}

void UndoJournal::BeforeCountersChange() {
    if (pending_.countersChanged || !drawing_)
        return;
    pending_.countersChanged = true;
    pending_.countersBefore = drawing_->GetCounters();
}

void UndoJournal::BeginGroup() {
    if (depth_ == 0)
        Close();  // what came before the group is a step of its own
    ++depth_;
}

bool UndoJournal::EndGroup() {
    if (depth_ == 0)
        return false;
    // A closed group is one step even when nothing changed in it (a command cancelled at its
    // first prompt): a following U takes back that command, not the one before it.
    if (--depth_ == 0)
        Close(true);
    return true;
}

void UndoJournal::BeginCommand() {
    Close();
    inCommand_ = true;
}

void UndoJournal::EndCommand() {
    // A group the command left open ends with it, so that one undo still takes it back.
    const bool groupOpen = depth_ > 0;
    depth_ = 0;
    inCommand_ = false;
    Close(groupOpen);
}

void UndoJournal::EndCall() {
    if (!inCommand_ && depth_ == 0)
        Close();
}

void UndoJournal::Close(bool keepEmpty) {
    if (!drawing_ || (!keepEmpty && pending_.changes.empty() && !pending_.countersChanged))
        return;
    for (Change& change : pending_.changes)
        change.after = drawing_->SlotState(change.id);
    if (pending_.countersChanged)
        pending_.countersAfter = drawing_->GetCounters();
    pending_.id = ++lastStepId_;
    done_.push_back(std::move(pending_));
    pending_ = Step{};
    touched_.clear();
    undone_.clear();
    Check();
}

int UndoJournal::Undo(int steps) {
    if (!drawing_)
        return 0;
    depth_ = 0;
    Close();
    int count = 0;
    while (count < steps && !done_.empty()) {
        Step step = std::move(done_.back());
        done_.pop_back();
        for (auto it = step.changes.rbegin(); it != step.changes.rend(); ++it) {
            drawing_->Restore(it->id, it->before);
        }
        if (step.countersChanged)
            drawing_->RestoreCounters(step.countersBefore);
        undone_.push_back(std::move(step));
        ++count;
        Check();
    }
    return count;
}

bool UndoJournal::Redo() {
    if (!drawing_ || undone_.empty())
        return false;
    if (!pending_.changes.empty() || pending_.countersChanged)
        return false;
    Step step = std::move(undone_.back());
    undone_.pop_back();
    for (const Change& change : step.changes)
        drawing_->Restore(change.id, change.after);
    if (step.countersChanged)
        drawing_->RestoreCounters(step.countersAfter);
    done_.push_back(std::move(step));
    Check();
    return true;
}

std::optional<uint64_t> UndoJournal::StateId() const {
    if (!pending_.changes.empty() || pending_.countersChanged)
        return std::nullopt;
    for (auto it = done_.rbegin(); it != done_.rend(); ++it) {
        if (!it->changes.empty() || it->countersChanged)
            return it->id;
    }
    return 0;
}

void UndoJournal::Clear() {
    pending_ = Step{};
    touched_.clear();
    done_.clear();
    undone_.clear();
    depth_ = 0;
    inCommand_ = false;
}

void UndoJournal::Check() const {
#ifndef NDEBUG
    if (depth_ < 0)
        std::abort();
    if (drawing_)
        drawing_->CheckInvariants();
#endif
}

}  // namespace host
