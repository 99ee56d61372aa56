#include "model/charset.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <map>

#include "core/gtex.h"
#include "model/cloneio.h"
#include "model/memorymap.h"
#include "support/fatal_trap.h"
#include "support/temp_dir.h"

namespace {

const std::string kDataDir = RWQ_SOURCE_DATA_DIR;

Charset Shipped() {
  std::string why;
  std::optional<Charset> charset = Charset::Load(kDataDir + "/" + std::string(Charset::kFileName), why);
  EXPECT_TRUE(charset) << why;
  return charset ? *charset : *Charset::Parse("20\tU+0020\n", why);
}

std::vector<std::uint8_t> Bytes(std::string_view text) { return {text.begin(), text.end()}; }

class ScopedDataDir {
 public:
  explicit ScopedDataDir(const std::string& dir) { setenv("RWQ_DATA_DIR", dir.c_str(), 1); }
  ~ScopedDataDir() { unsetenv("RWQ_DATA_DIR"); }
};

}  // namespace

TEST(Charset, TheShippedTableShowsPrintableAsciiAsItselfTheDotKeysCodeAsAMiddleDotAndNothingElse) {
  const Charset charset = Shipped();
  EXPECT_EQ(charset.DisplayOf(0xA0), "\xC2\xB7");
  EXPECT_EQ(charset.CodeOf("\xC2\xB7"), 0xA0);
  for (int code = 0; code < 256; ++code) {
    const auto byte = static_cast<std::uint8_t>(code);
    if (code == 0xA0) continue;
    if (code >= 0x20 && code <= 0x7E) {
      const std::string expected(1, static_cast<char>(code));
      EXPECT_EQ(charset.DisplayOf(byte), expected) << code;
      EXPECT_EQ(charset.CodeOf(expected), byte) << code;
    } else {
      EXPECT_FALSE(charset.DisplayOf(byte)) << code;
    }
  }
}

TEST(Charset, EncodesATextAsAPaddedFieldOrRefusesIt) {
  const Charset charset = Shipped();
  struct Case {
    std::string_view text;
    std::string_view field;  // the bytes, when the text encodes
    std::optional<std::size_t> unknownAt;
    bool tooLong;
  };
  const Case cases[] = {
      {"PMR 1", "PMR 1   ", {}, false},
      {"", "        ", {}, false},
      {"Ch-8 #2~", "Ch-8 #2~", {}, false},  // exactly the width
      {"ABCDEFGHI", "", {}, true},          // one character too many
      {"Caf\xC3\xA9", "", 3, false},        // a character the radio lacks
      {"AB\x80", "", 2, false},             // broken UTF-8
      {"A\xC3", "", 1, false},              // a sequence cut short
      {"\t", "", 0, false},                 // a control character
      {"\xEF\xBF\xBD", "", 0, false},       // an unknown code shown by Decode does not come back
  };
  for (const Case& c : cases) {
    const Charset::Encoded encoded = charset.Encode(c.text, 8);
    EXPECT_EQ(encoded.bytes, Bytes(c.field)) << c.text;
    EXPECT_EQ(encoded.unknownAt, c.unknownAt) << c.text;
    EXPECT_EQ(encoded.tooLong, c.tooLong) << c.text;
    EXPECT_EQ(encoded.Ok(), !c.field.empty()) << c.text;
  }
}

TEST(Charset, DecodesCodeByCodeWithAFallbackForUnknownCodes) {
  const Charset charset = Shipped();
  EXPECT_EQ(charset.Decode(Bytes("PMR 16  ")), "PMR 16  ");
  const std::vector<std::uint8_t> odd = {'A', 0x00, 0x80, 'B'};
  EXPECT_EQ(charset.Decode(odd),
            "A" + std::string(Charset::kUnknownCharacter) + std::string(Charset::kUnknownCharacter) + "B");
}

TEST(Charset, ATableMayMapCodesToAnyCharacter) {
  std::string why;
  const std::optional<Charset> charset =
      Charset::Parse("; comment\r\n\r\n10\tU+0020\r\n41\tA\n80\t\xC2\xB0\nfe\tU+2191\n", why);
  ASSERT_TRUE(charset) << why;
  EXPECT_EQ(charset->DisplayOf(0x80), "\xC2\xB0");
  EXPECT_EQ(charset->DisplayOf(0xFE), "\xE2\x86\x91");
  const Charset::Encoded encoded = charset->Encode("A\xC2\xB0\xE2\x86\x91", 5);
  EXPECT_EQ(encoded.bytes, (std::vector<std::uint8_t>{0x41, 0x80, 0xFE, 0x10, 0x10}));  // padded with its space
  EXPECT_EQ(charset->Decode(encoded.bytes), "A\xC2\xB0\xE2\x86\x91  ");
}

TEST(Charset, AThirdColumnGivesEachCodesGlyphAndAnUnlistedCodeIsBlank) {
  std::string why;
  const std::optional<Charset> charset = Charset::Parse("20\tU+0020\t0000\n41\tA\tF3C0\n42\tB\n43\tC\tffff\n", why);
  ASSERT_TRUE(charset) << why;
  EXPECT_EQ(charset->DisplayOf(0x41), "A");
  EXPECT_EQ(charset->Patterns(Bytes("ABC D")), (std::vector<std::uint16_t>{0xF3C0, 0, 0xFFFF, 0, 0}));
}

TEST(Charset, TheShippedGlyphsTellEveryLetterAndDigitApartAndLeaveTheSpaceBlank) {
  const Charset charset = Shipped();
  EXPECT_EQ(charset.PatternOf(0x20), 0);
  std::map<std::uint16_t, char> owner;
  for (char c : std::string_view("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ")) {
    const std::uint16_t pattern = charset.PatternOf(static_cast<std::uint8_t>(c));
    EXPECT_NE(pattern, 0) << c;
    const auto [at, fresh] = owner.emplace(pattern, c);
    EXPECT_TRUE(fresh) << c << " looks like " << at->second;
    EXPECT_EQ(charset.PatternOf(static_cast<std::uint8_t>(std::tolower(c))), pattern) << c;
  }
}

TEST(Charset, ABrokenTableSaysWhereAndWhy) {
  struct Case {
    std::string_view table;
    std::string_view why;
  };
  const Case cases[] = {
      {"20 U+0020\n", "line 1: expected a code, a TAB and a character"},
      {"20\tU+0020\n100\tA\n", "line 2: '100' is no code from 00 to FF"},
      {"20\tU+0020\nG1\tA\n", "line 2: 'G1' is no code from 00 to FF"},
      {"20\tU+0020\n\tA\n", "line 2: '' is no code from 00 to FF"},
      {"20\tU+0020\n41\t\n", "line 2: the character must be one printable UTF-8 character or U+ and its number"},
      {"20\tU+0020\n41\tAB\n", "line 2: the character must be one printable UTF-8 character or U+ and its number"},
      {"20\tU+0020\n41\t\x01\n", "line 2: the character must be one printable UTF-8 character or U+ and its number"},
      {"20\tU+0020\n41\tU+D800\n", "line 2: 'U+D800' is no Unicode character"},
      {"20\tU+0020\n41\tU+110000\n", "line 2: 'U+110000' is no Unicode character"},
      {"20\tU+0020\n41\tU+000A\n", "line 2: 'U+000A' is a control character, which cannot be shown"},
      {"20\tU+0020\n41\tA\n41\tB\n", "line 3: code 41 is listed twice"},
      {"20\tU+0020\n41\tA\n61\tA\n", "line 3: 'A' is listed for two codes"},
      {"41\tA\n", "the table has no space, which pads every text"},
      {"20\tU+0020\t10000\n", "line 1: '10000' is no segment pattern from 0000 to FFFF"},
      {"20\tU+0020\tXY\n", "line 1: 'XY' is no segment pattern from 0000 to FFFF"},
      {"20\tU+0020\t\n", "line 1: '' is no segment pattern from 0000 to FFFF"},
  };
  for (const Case& c : cases) {
    std::string why;
    EXPECT_FALSE(Charset::Parse(c.table, why)) << c.table;
    EXPECT_EQ(why, c.why) << c.table;
  }
}

TEST(Charset, AMissingShippedTableIsAConfigurationFault) {
  TempDir empty;
  ScopedDataDir data(empty.File(""));
  EXPECT_EQ(FatalTextOf([] { Charset::LoadShipped(); }),
            "The character table '" + empty.File("") + "charset.txt' cannot be used.\nthe file cannot be read");
}

// The names of the initial files' channels come out as the generator wrote them.
TEST(Charset, ShowsTheInitialFilesChannelNames) {
  ScopedDataDir data(kDataDir + "/");
  const Charset charset = Charset::LoadShipped();
  cmcGTex overlay;
  overlay.Open(kDataDir + "/QZ5071KE.OVL");
  constexpr int kRadioRecords = 0x7F80, kRadioRecordSize = 22, kNameOffset = 12, kNameSize = 8;
  for (const char* file : {"Initial_PMR.rwc", "Initial_VexlPMR.rwc", "Initial_dPMR446.rwc"}) {
    cmcEeprom image;
    ASSERT_EQ(cloneio::Open(overlay, kDataDir + "/" + file, image, nullptr), cmcCloneFile::kOk) << file;
    memmap::Decode(image);
    for (int channel = 0; channel < 16; ++channel) {
      std::uint8_t name[kNameSize];
      image.ReadBlock(kRadioRecords + kRadioRecordSize * channel + kNameOffset, name, kNameSize);
      std::string expected = "PMR " + std::to_string(channel + 1);
      expected.resize(kNameSize, ' ');
      EXPECT_EQ(charset.Decode(name), expected) << file << " channel " << channel;
      EXPECT_EQ(charset.Encode(expected, kNameSize).bytes, std::vector<std::uint8_t>(name, name + kNameSize));
    }
  }
}
