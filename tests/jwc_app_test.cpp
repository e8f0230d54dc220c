// JW_CAD's own files through the tavo command, and every .jwc the library
// writes against the audit of a strict reader.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>

#include "base/byte_source.h"
#include "jwc/jwc_audit.h"
#include "jwc/jwc_file.h"
#include "jwc/jwc_reader.h"
#include "jwc/jwc_writer.h"
#include "jwc_app_file.h"
#include "tavo.h"
#include "test_support.h"

namespace {

struct In {
    explicit In(const std::string& s) : text(s), ptr(text.c_str()) {}
    std::string text;
    const char* ptr;
    TavoStringIn ref() const { return &ptr; }
};

class AppFiles : public ::testing::Test {
protected:
    void SetUp() override { setenv("TAVO_SETTINGS_DIR", dir.file("settings").c_str(), 1); }
    void TearDown() override {
        JwcDestroy();
        ObjDestroy();
        unsetenv("TAVO_SETTINGS_DIR");
    }
    tavo::test::TempDir dir;
};

// The command's binding of the reader and the framing description; what
// they say of each framing is the jwc tests' matter.
TEST_F(AppFiles, InfoCommand) {
    const std::string file = dir.file("app.jwc");
    tavo::test::writeFile(file, tavo::test::AppFramedJwc({true}));
    std::string info;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen((std::string(TAVO_CLI) + " info --details '" + file + "'").c_str(), "r"),
                                               pclose);
    for (int c; pipe && (c = std::fgetc(pipe.get())) != EOF;) info += static_cast<char>(c);
    EXPECT_NE(info.find("\n  Group scales: float table (2421-byte header)\n"), std::string::npos) << info;
}

// The audit's findings as "CODE: message" lines.
std::string auditText(const std::string& bytes) {
    tavo::MemorySource source(bytes);
    std::string text;
    for (const tavo::AuditFinding& f : tavo::AuditJwc(source).findings)
        text += std::string(tavo::AuditCodeName(f.code)) + ": " + f.message + "\n";
    return text;
}

std::string loadedAndSaved(const std::string& bytes) {
    tavo::TJwcFile d;
    tavo::MemorySource source(bytes);
    tavo::ReadJwc(d, source, "seed.jwc");
    tavo::StringSink sink;
    tavo::WriteJwc(d, sink);
    return sink.take();
}

// Every kind of file the library writes: built through the exports,
// exported from a worksheet drawing, a workbook's export, and the fuzz seeds
// (JW_CAD's framings among them) after a load and save. Each audits clean.
TEST_F(AppFiles, EveryFileTheLibraryWritesAuditsClean) {
    std::vector<std::pair<std::string, std::string>> files;
    JwcCreate(3, 100);
    SetMojiTable(1, 1, 20, 20, 0);
    AddSen(0, 0, 420, 0, 1, 0, 1, 0, 0);
    AddEnko(10, 10, 5, 10000, -90 * 65536, 400 * 65536, 0, 2, 0, 3, 0, 0);
    AddMoji(0, 1, 10, 1, 1, 0, 0, In("\x95\xBD").ref());
    AddTen(1, 1, 1, 0, 0);
    const In built(dir.file("built.jwc"));
    JwcSaveTo(built.ref());
    files.emplace_back("built", tavo::test::readFile(built.text));

    ObjCreateByInifile();
    AddLine(10, 20, 30, 20, 2, 241, 1);
    AddText(0, 0, 30, 0, 3, 0x02, In("ABC").ref());
    AddText(0, 0, 30, 0, 3, 0x02, In("").ref());
    AddText(5, 5, 5, 5, 3, 0x02, In("\x95\xBD").ref());
    AddTextV(0, 0, 0, -30, 3, 0x02, In("\x95\xBD").ref());
    AddCircle(0, 0, 3, 1, -30, 370, 0, 3, 0x01, 1);
    const In exported(dir.file("exported.jwc"));
    ObjSaveToJwcFile(exported.ref());
    files.emplace_back("exported", tavo::test::readFile(exported.text));
    files.emplace_back("workbook", tavo::test::readFile(std::string(TAVO_TEST_DATA_DIR) + "/workbook_form.jwc"));
    for (const auto& seed : std::filesystem::directory_iterator(TAVO_FUZZ_SEEDS))
        files.emplace_back(seed.path().filename().string(), loadedAndSaved(tavo::test::readFile(seed.path().string())));
    ASSERT_GT(files.size(), 8u);
    for (const auto& [name, bytes] : files) EXPECT_EQ(auditText(bytes), "") << name;
}

}  // namespace
