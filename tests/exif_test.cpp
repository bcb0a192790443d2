// The EXIF pixel size and embedded thumbnail, read and rewritten for a
// picture saved anew: where the thumbnail goes, when it is dropped, and that
// nothing else moves.

#include <gtest/gtest.h>

#include <string>

#include "exif_builder.h"
#include "image/exif.h"

namespace pictavo {
namespace {

TEST(Exif, RewriteDescribesTheSavedPictureInEitherByteOrder) {
  for (bool little : {true, false}) {
    ExifSpec spec;
    spec.little = little;
    spec.thumbnail = std::string(300, 'o');
    const std::string before = BuildExif(spec);
    const ExifFacts old = ReadExifFacts(before);
    ASSERT_TRUE(old.readable);
    EXPECT_EQ(old.pixelX, 64u);
    EXPECT_EQ(old.pixelY, 48u);
    EXPECT_EQ(old.thumbnail, spec.thumbnail);

    // The old thumbnail is last: the new one takes its place, shorter or longer.
    for (const std::string& fresh : {std::string(100, 'n'), std::string(5000, 'N')}) {
      const auto after = RewriteExifForPicture(before, 48, 64, fresh);
      ASSERT_TRUE(after);
      const ExifFacts facts = ReadExifFacts(*after);
      EXPECT_EQ(facts.pixelX, 48u);
      EXPECT_EQ(facts.pixelY, 64u);
      EXPECT_EQ(facts.thumbnail, fresh);
      EXPECT_EQ(after->size(), before.size() - spec.thumbnail.size() + fresh.size());
      // Everything before the thumbnail stays where it was but the changed values.
      EXPECT_EQ(after->substr(0, spec.makerNoteAt + spec.makerNote.size()).find(spec.makerNote), spec.makerNoteAt);
      EXPECT_EQ(after->at(spec.orientationAt + (little ? 0 : 1)), 1);
    }
  }
}

TEST(Exif, ThumbnailThatDoesNotFitOrIsNoJpegIsUnlinked) {
  ExifSpec spec;
  spec.thumbnail = std::string(200, 'o');
  const std::string before = BuildExif(spec);
  // A segment holds at most 64 KB.
  const auto tooLarge = RewriteExifForPicture(before, 48, 64, std::string(kMaxApp1Payload, 'x'));
  ASSERT_TRUE(tooLarge);
  EXPECT_LE(tooLarge->size(), kMaxApp1Payload);
  ExifFacts facts = ReadExifFacts(*tooLarge);
  EXPECT_FALSE(facts.hasThumbnailIfd);
  EXPECT_TRUE(facts.thumbnail.empty());
  EXPECT_EQ(facts.pixelX, 48u);
  // No thumbnail made: the old one must not stay.
  facts = ReadExifFacts(*RewriteExifForPicture(before, 48, 64, ""));
  EXPECT_FALSE(facts.hasThumbnailIfd);
  // Uncompressed strips describe the old picture: unlinked too.
  spec.compression = 1;
  facts = ReadExifFacts(*RewriteExifForPicture(BuildExif(spec), 48, 64, "new"));
  EXPECT_FALSE(facts.hasThumbnailIfd);
}

TEST(Exif, ThumbnailBeforeOtherDataIsAppendedNotOverwritten) {
  ExifSpec spec;
  spec.thumbnail = std::string(50, 'o');
  spec.dataAfterThumbnail = "trailing data of some camera";
  const std::string before = BuildExif(spec);
  const auto after = RewriteExifForPicture(before, 48, 64, std::string(80, 'n'));
  ASSERT_TRUE(after);
  EXPECT_EQ(after->substr(0, before.size()).find(spec.dataAfterThumbnail), before.find(spec.dataAfterThumbnail));
  EXPECT_EQ(ReadExifFacts(*after).thumbnail, std::string(80, 'n'));
}

TEST(Exif, DamagedPayloadsAreLeftAlone) {
  ExifSpec spec;
  spec.thumbnail = "thumb";
  const std::string whole = BuildExif(spec);
  EXPECT_FALSE(RewriteExifForPicture("Exif\0\0II", 1, 1, "x"));
  EXPECT_FALSE(RewriteExifForPicture(std::string("JFIF\0\0II*\0\x08\0\0\0", 14), 1, 1, "x"));
  // Cut anywhere: never read past the end; a readable rest is rewritten within it.
  for (size_t cut = 0; cut < whole.size(); ++cut) {
    const std::string part = whole.substr(0, cut);
    const ExifFacts facts = ReadExifFacts(part);
    if (!facts.thumbnail.empty()) {
      EXPECT_EQ(facts.thumbnail, "thumb");
    }
    if (const auto after = RewriteExifForPicture(part, 2, 3, "t")) {
      EXPECT_TRUE(ReadExifFacts(*after).readable);
    }
  }
}

}  // namespace
}  // namespace pictavo
