// The "ПРОГ.-2" captions before any query, as the core gives them to the tab.
#include <gtest/gtest.h>

#include "link/link_state.h"
#include "service/parameter_texts.h"

namespace zelor::param {
namespace {

TEST(ParameterTexts, InitialTextsAreTheDesignsCaptions) {
  const std::pair<ParamText, const char*> cases[] = {
      {ParamText::TeGroupBox10, "  КОНТРАСТ ЖКИ =   35  "},
      {ParamText::TeGroupBox3, "  ГРОМКОСТЬ ЗВУК. ОПОВ. =   5  "},
      {ParamText::TeLabel9, "0"},
      {ParamText::TeLabel5, "Адрес прибора - 247"},
      {ParamText::Label1, "CLOCK TRIM +0"},
      {ParamText::Label2, "dT = 0.0сек."},
  };
  for (const auto& [which, text] : cases) EXPECT_EQ(InitialText(which), text) << static_cast<int>(which);
}

// Where the design's caption is what the later captions compose, it comes from the same function.
TEST(ParameterTexts, InitialTextsFollowTheCaptionFunctions) {
  EXPECT_EQ(InitialText(ParamText::TeLabel5), AddressLabel(kDefaultDeviceAddress));
  EXPECT_EQ(InitialText(ParamText::TeGroupBox3), VolumeCaption(kInitialVolume));
  EXPECT_EQ(InitialText(ParamText::Label1), TrimLabel(kInitialTrim));
  // The design's contrast caption has a blank more than the composed one.
  EXPECT_EQ(ContrastCaption(kInitialContrast), "  КОНТРАСТ ЖКИ =  35  ");
}

}  // namespace
}  // namespace zelor::param
