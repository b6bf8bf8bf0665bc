// Random sequences of host and module commands on the sample drawing: undoing every step
// gives back the starting drawing byte for byte, redoing every step the end.
#include <gtest/gtest.h>

#include "tests/support/undo_property.h"

namespace {

TEST(UndoProperty, RandomCommandsUndoneAndRedoneEntirely) {
    for (unsigned seed : {1u, 2u, 3u, 4u}) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        const testkit::UndoWalk walk = testkit::WalkUndo(testkit::RandomCommands(seed, 40));
        if (!walk.failures.empty())
            ADD_FAILURE() << walk.failures;
        // The commands must do enough for the walk to mean something.
        EXPECT_GE(walk.states, 15);
        EXPECT_GE(walk.steps, walk.states - 1);
    }
}

}  // namespace
