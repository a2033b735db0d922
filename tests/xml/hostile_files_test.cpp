// Import files that are not what they seem: a named pipe, a link to a
// device, a file swapped for either while it is being opened, and a file of
// millions of tiny elements. Each is refused quickly and changes nothing.

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "base/text.h"
#include "support/file_swapper.h"
#include "xml/macro_file.h"
#include "xml/profile_file.h"
#include "xml/xml_document.h"
#include "xml/xml_file_io.h"
#include "xml/xml_files_fixture.h"

namespace tk410::testing {
namespace {

const std::string kDecl = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";
const std::string kProfile = kDecl +
                             "<profile>\r\n<profileinfo name=\"swapped\">\r\n<keyitems>\r\n"
                             "<item key_code=\"3\" macro_type=\"1\" macro_value=\"7\"/>\r\n"
                             "</keyitems>\r\n</profileinfo>\r\n</profile>\r\n";

// A pipe with no writer would block an ordinary open for good; a link to
// /dev/zero would be read until memory runs out. Folders are no files either.
TEST_F(XmlFilesTest, PipesDevicesAndFoldersAreRefusedWithoutReading) {
  const auto fifo = dir_.path() / "pipe.xml";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const auto zero = dir_.path() / "zero.xml";
  std::filesystem::create_symlink("/dev/zero", zero);
  const auto folder = dir_.path() / "folder.xml";
  std::filesystem::create_directory(folder);

  const auto before = Snapshot();
  for (const auto& path : {fifo, zero, folder}) {
    const std::wstring wide = FromUtf8(path.string());
    XmlDocument doc;
    EXPECT_FALSE(doc.LoadFile(wide)) << path;
    EXPECT_NE(doc.GetResult().find(L"file_error"), std::wstring::npos) << path;
    EXPECT_EQ(ReadProfileFile(wide), std::nullopt) << path;
    dialogs_.Answer(wide);
    EXPECT_EQ(ImportProfile(db_, dialogs_, 2, 101), std::nullopt) << path;
    EXPECT_FALSE(ImportMacroFile(db_, wide).Added()) << path;
  }
  EXPECT_EQ(Snapshot(), before);

  // A user may pick a link to a genuine file.
  const auto link = dir_.path() / "link.xml";
  std::filesystem::create_symlink(dir_.Write("real.xml", kProfile), link);
  const auto content = ReadProfileFile(FromUtf8(link.string()));
  ASSERT_TRUE(content.has_value());
  EXPECT_EQ(content->name, L"swapped");
}

// The file is replaced by a pipe or a device link between any two steps of
// the reader: every read either sees the genuine file or refuses, and none
// blocks or runs out of memory.
TEST_F(XmlFilesTest, FileSwappedForPipeOrDeviceWhileOpeningIsRefused) {
  const auto path = dir_.path() / "swap.xml";
  FileSwapper swapper(path, kProfile);
  const std::wstring wide = FromUtf8(path.string());
  int read = 0;
  for (int i = 0; i < 2000 || swapper.rounds() < 20000; ++i) {
    const auto content = ReadProfileFile(wide);
    if (!content) continue;
    ++read;
    ASSERT_EQ(content->name, L"swapped");
    ASSERT_EQ(content->keys.size(), 1u);
  }
  RecordProperty("genuine_reads", read);
}

// 32 MiB of "<item/>" is 4.8 million elements: refused before it is indexed
// whole, leaving the database as it was. A macro file one element past the
// limit is refused too.
TEST_F(XmlFilesTest, ElementBombIsRefused) {
  const auto items = [](std::string bytes, size_t total, const std::string& tail) {
    bytes.reserve(total);
    while (bytes.size() + 7 + tail.size() <= total) bytes += "<item/>";
    return bytes + tail;
  };
  const std::wstring profile = WriteFile(
      "bomb-profile.xml", items(kDecl + "<profile><profileinfo name=\"bomb\"><keyitems>",
                                kMaxImportFileBytes, "</keyitems></profileinfo></profile>"));
  // macro, macroinfo, macroitems and the items: one more than the limit.
  const std::string macro_head = kDecl + "<macro><macroinfo macro_name=\"bomb\"/><macroitems>";
  const std::string macro_tail = "</macroitems></macro>";
  const std::wstring macro = WriteFile(
      "bomb-macro.xml", items(macro_head, macro_head.size() + macro_tail.size() +
                                              7 * (kMaxImportElements - 2), macro_tail));
  const auto before = Snapshot();
  dialogs_.Answer(profile);
  EXPECT_EQ(ImportProfile(db_, dialogs_, 2, 101), std::nullopt);
  EXPECT_FALSE(ImportMacroFile(db_, macro).Added());
  EXPECT_EQ(Snapshot(), before);
}

}  // namespace
}  // namespace tk410::testing
