// The quit Apple event: the required-parameter check and the quit itself.
#include "Sources/appleEvents.h"

#include <gtest/gtest.h>

#include <vector>

#include "Sources/events.h"
#include "toolbox/internal/EventQueue.h"

namespace {

struct LookupCase {
  const char* name;
  OSErr lookup;
  OSErr expected;
};

TEST(RequiredParams, AnswersByTheMissedKeywordLookup) {
  const std::vector<LookupCase> cases = {
      {"no missed-keyword attribute: every required parameter was read", errAEDescNotFound, noErr},
      {"the attribute exists: a required parameter was missed", noErr, errAEParamMissed},
      {"any other code is passed on (paramErr)", paramErr, paramErr},
      {"any other code is passed on (memFullErr)", memFullErr, memFullErr},
  };
  for (const LookupCase& c : cases) EXPECT_EQ(c.expected, requiredParamsResult(c.lookup)) << c.name;
}

TEST(RequiredParams, OnTheLayersEvents) {
  // The layer's quit event carries no parameters, so none was missed.
  const AppleEvent quit{kAEQuitApplication, nullptr};
  EXPECT_EQ(noErr, doHasGotRequiredParams(&quit)) << "check of a quit event as the layer makes it";
  // Without an event the lookup fails with paramErr, which is passed on.
  EXPECT_EQ(paramErr, doHasGotRequiredParams(nullptr)) << "check without an event";
}

// Waits for the high-level event of a quit request and dispatches it as the
// event loop does; returns only if no quit event came.
void quitThroughTheEventLoop() {
  doInstallAEHandlers();
  tb::RawInput quit;
  quit.kind = tb::InputKind::Quit;
  tb::postInput(quit);
  EventRecord ev;
  for (int pass = 0; pass < 20; ++pass) {
    if (WaitNextEvent(everyEvent, &ev, 0, nullptr) && ev.what == kHighLevelEvent) dispatchEvent(ev);
  }
}

TEST(QuitEventDeathTest, EndsTheProgramAtOnce) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(quitThroughTheEventLoop(), ::testing::ExitedWithCode(0), "")
      << "the quit event ends the process with status 0";
}

}  // namespace
