#include "control/sheetswitcher.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "core/gtex.h"
#include "links/celllinks.h"
#include "markup/fcache.h"
#include "model/cloneio.h"
#include "platform/clock.h"
#include "runtime/events.h"
#include "runtime/evman.h"
#include "runtime/taskscheduler.h"
#include "sheet/headless.h"

namespace {

class SheetSwitcherTest : public testing::Test, public SheetHost {
 protected:
  void SetUp() override {
    setenv("RWQ_DATA_DIR", RWQ_SOURCE_DATA_DIR "/", 1);
    overlay_.Open(RWQ_SOURCE_DATA_DIR "/QZ5071KE.OVL");
    cloneio::LoadInitialImage(overlay_, ModelType::kPmr, image_);
    events_.AddListener(&SheetSwitcherTest::Hear, this);
  }
  void TearDown() override {
    events_.RemoveListener(&SheetSwitcherTest::Hear, this);
    unsetenv("RWQ_DATA_DIR");
  }
  static void Hear(void* self, const Event& event) {
    static_cast<SheetSwitcherTest*>(self)->posted_.push_back({event.code, static_cast<int>(event.argument)});
  }
  std::vector<std::pair<std::uint32_t, int>> Posted() {
    posted_.clear();
    clock_.Advance(cmcEvMan::kPumpIntervalMs);
    scheduler_.RunDue();
    return posted_;
  }

  SheetServices ServicesForSheet() override {
    SheetServices services{overlay_, overlay_, image_, measurer_};
    services.links = &links_;
    return services;
  }
  void HostSheet(std::unique_ptr<cuiSheet> sheet) override {
    shown_.push_back(sheet.get());
    hosted_ = std::move(sheet);
  }
  void RemoveSheet() override {
    shown_.push_back(nullptr);
    hosted_.reset();
  }
  bool SheetHasFocus() const override { return focus_; }
  void FocusSheet(bool sheet) override { focusGiven_ = sheet; }

  cmcGTex overlay_;
  cmcEeprom image_;
  cmcFCache choices_{overlay_};
  NoEditors editors_;
  LinkEnvironment environment_{image_, overlay_, choices_, editors_};
  CellLinks links_{environment_};
  CharacterMeasurer measurer_;
  platform::ManualClock clock_;
  TaskScheduler scheduler_{clock_};
  cmcEvMan events_{scheduler_};
  WindowWants wants_;
  SheetSwitcher switcher_{*this, overlay_, events_, wants_};
  std::vector<cuiSheet*> shown_;
  std::unique_ptr<cuiSheet> hosted_;
  std::vector<std::pair<std::uint32_t, int>> posted_;
  bool focus_ = false;
  std::optional<bool> focusGiven_;
};

constexpr char kBank0[] = "[St_ChBank]GI_Sheet_Mch_Pmr,Bank 0";

TEST_F(SheetSwitcherTest, OpensOneSheetAtATimeAndReturnsToWhereTheUserLeftIt) {
  ASSERT_TRUE(switcher_.OpenSheet(kBank0));
  cuiSheet* bank = switcher_.Current();
  ASSERT_NE(bank, nullptr);
  EXPECT_EQ(shown_.back(), bank);
  ASSERT_TRUE(bank->MoveCurrent(0, 3));
  const CellPosition moved = bank->Current();

  focus_ = true;
  ASSERT_TRUE(switcher_.OpenSheet("GI_Sheet_TopPage"));
  EXPECT_EQ(shown_, (std::vector<cuiSheet*>{bank, nullptr, switcher_.Current()}));
  EXPECT_EQ(focusGiven_, true);
  ASSERT_NE(switcher_.History().Newest(), nullptr);
  EXPECT_EQ(switcher_.History().Newest()->ref.Text(), kBank0);

  ASSERT_TRUE(switcher_.OpenSheet(kBank0));
  EXPECT_EQ(switcher_.Current()->Current(), moved);
  EXPECT_EQ(switcher_.History().Size(), 2u);
}

TEST_F(SheetSwitcherTest, AReferenceToNoSheetLeavesTheAreaEmpty) {
  ASSERT_TRUE(switcher_.OpenSheet("GI_Sheet_TopPage"));
  EXPECT_FALSE(switcher_.OpenSheet("GI_Sheet_Nowhere"));
  EXPECT_EQ(switcher_.Current(), nullptr);
  EXPECT_EQ(shown_.back(), nullptr);
  EXPECT_EQ(switcher_.Facts().bankSheet, false);
}

TEST_F(SheetSwitcherTest, TellsTheToolWindowsWhetherTheyBelongBesideTheSheet) {
  struct Case {
    const char* ref;
    bool mchWanted, helpWanted;
    std::vector<std::pair<std::uint32_t, int>> posted;
    LayoutFacts facts;
  };
  const Case cases[] = {
      {"GI_Sheet_TopPage", false, false, {{ev::kHelpWindowState, 0}, {ev::kMchWindowVisible, 0}}, {}},
      {kBank0, false, false, {{ev::kHelpWindowState, 0}, {ev::kMchWindowVisible, 0}}, {true, true, false, false}},
      {kBank0,
       true,
       true,
       {{ev::kHelpWindow, 0}, {ev::kHelpWindowState, 1}, {ev::kMchWindow, 0}, {ev::kMchWindowVisible, 1}},
       {true, true, true, true}},
      // Already created: only shown or hidden.
      {"GI_Sheet_TopPage",
       true,
       true,
       {{ev::kHelpWindowState, 0}, {ev::kMchWindowVisible, 0}},
       {false, false, true, true}},
  };
  for (const Case& c : cases) {
    wants_.mchWanted = c.mchWanted;
    wants_.helpWanted = c.helpWanted;
    ASSERT_TRUE(switcher_.OpenSheet(c.ref)) << c.ref;
    EXPECT_EQ(Posted(), c.posted) << c.ref;
    const LayoutFacts facts = switcher_.Facts();
    EXPECT_EQ(facts.bankSheet, c.facts.bankSheet) << c.ref;
    EXPECT_EQ(facts.admitsHelp, c.facts.admitsHelp) << c.ref;
    EXPECT_EQ(facts.helpWanted, c.facts.helpWanted) << c.ref;
    EXPECT_EQ(facts.mchWanted, c.facts.mchWanted) << c.ref;
  }
}

}  // namespace
