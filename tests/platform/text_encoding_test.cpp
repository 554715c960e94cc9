// The one place where text changes encoding: the literals converted when compiled, the
// conversions of names and files, and a reading of src/ for a Finnish text that missed L1.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/text_encoding.h"

namespace {

// The lines of string literals with a byte beyond ASCII that are not the argument of L1 or
// FILE_UTF8 (literals side by side are one). Comments and character literals are skipped.
std::vector<int> unwrapped_literals(const std::string &code)
{
    std::vector<int> found;
    int line = 1;
    bool wrapped = false;  // of the literal just ended, for one that follows it
    bool after_literal = false;
    for (size_t i = 0; i < code.size(); i++) {
        const char c = code[i];
        if (c == '\n')
            line++;
        if (code.compare(i, 2, "//") == 0) {
            i = code.find('\n', i) - 1;
            continue;
        }
        if (code.compare(i, 2, "/*") == 0) {
            const size_t end = code.find("*/", i + 2);
            for (size_t k = i; k < end; k++)
                line += code[k] == '\n';
            i = end + 1;
            continue;
        }
        if (c == '\'' || c == '"') {
            size_t j = i + 1;
            bool wide = false;
            for (; j < code.size() && code[j] != c; j++) {
                wide = wide || static_cast<unsigned char>(code[j]) >= 0x80;
                j += code[j] == '\\';
            }
            if (c == '"') {
                if (!after_literal) {
                    const std::string before = code.substr(0, i);
                    const size_t last = before.find_last_not_of(" \t\n");
                    const std::string head = before.substr(0, last + 1);
                    wrapped = (head.size() >= 3 && head.compare(head.size() - 3, 3, "L1(") == 0) ||
                              (head.size() >= 10 && head.compare(head.size() - 10, 10, "FILE_UTF8(") == 0);
                }
                if (wide && !wrapped)
                    found.push_back(line);
                after_literal = true;
            }
            i = j;
            continue;
        }
        if (c != ' ' && c != '\t' && c != '\n')
            after_literal = false;
    }
    return found;
}

std::string read_file(const std::filesystem::path &p)
{
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace

TEST(TextEncoding, LiteralsBecomeLatin1WhenCompiled)
{
    EXPECT_STREQ("Enn\xe4tykset", L1("Ennätykset"));
    EXPECT_STREQ("\xc4\xe4net", L1("Äänet"));
    EXPECT_STREQ("L\xe4ht\xf6ruutu", L1("Lähtöruutu"));
    EXPECT_EQ(10u, std::strlen(L1("Lähtöruutu")));
    EXPECT_STREQ("  \xb7  ", L1("  ·  "));
    EXPECT_STREQ("\xa0\xff", L1("\u00a0ÿ"));  // the first and the last letter above ASCII
    EXPECT_STREQ("Kentt\xe4\xe4 ei voi lukea:", L1("Kenttää "
                                                   "ei voi lukea:"));
}

TEST(TextEncoding, FileWordsStayUtf8)
{
    EXPECT_STREQ("kentt\xc3\xa4", FILE_UTF8("kenttä"));
    EXPECT_STREQ("vinkla-sarja 1", FILE_UTF8("vinkla-sarja 1"));
}

TEST(TextEncoding, Latin1ToUtf8AndBack)
{
    EXPECT_EQ("\xc3\x84ij\xc3\xa4 \xc3\x96hman", utf8_from_latin1("\xc4ij\xe4 \xd6hman"));
    EXPECT_EQ("\xc2\xa0\xc3\xbf", utf8_from_latin1("\xa0\xff"));
    // A letter Latin-1 lacks: the euro sign (3 bytes), an emoji (4 bytes), Š (2 bytes, U+0160).
    EXPECT_EQ("a^b^c^", latin1_from_utf8("a\xe2\x82\xac" "b\xf0\x9f\x99\x82" "c\xc5\xa0", "^"));
    EXPECT_EQ("abc", latin1_from_utf8("a\xe2\x82\xac" "b\xf0\x9f\x99\x82" "c\xc5\xa0", ""));
    // Bytes of no UTF-8 sequence are the Latin-1 letters they are: a name of an older file.
    EXPECT_EQ("\xc4ij\xe4", latin1_from_utf8("\xc4ij\xe4", ""));
    EXPECT_EQ("\xc3", latin1_from_utf8("\xc3", ""));  // a lead byte with nothing after it
    EXPECT_EQ("x^", latin1_name("x\xe2\x82\xac"));
}

TEST(TextEncoding, FindsLiteralsThatMissedL1)
{
    EXPECT_EQ(std::vector<int>{}, unwrapped_literals("a(L1(\"ä\"), FILE_UTF8( \"ö\"));\n"));
    EXPECT_EQ(std::vector<int>{}, unwrapped_literals("// \"ä\"\n/* \"ö\"\n */ x = L1(\"a\"\n \"ä\");"));
    EXPECT_EQ(std::vector<int>{}, unwrapped_literals("c = '\"'; s = \"plain\";"));
    EXPECT_EQ((std::vector<int>{2, 3}), unwrapped_literals("a = L1(\"ä\");\nb = \"ä\";\nc = \"\\\"\" \"ö\";"));
    EXPECT_EQ(std::vector<int>{1}, unwrapped_literals("f(\"x\", L1(\"y\") + \"ä\");"));
}

// A Finnish text that missed L1 shows as two wrong letters for each of its own: every literal
// of the game with a letter beyond ASCII is converted, or kept as UTF-8 for a file on purpose.
TEST(TextEncoding, EveryFinnishLiteralInTheSourceIsConverted)
{
    namespace fs = std::filesystem;
    size_t files = 0;
    for (const auto &e : fs::recursive_directory_iterator(fs::path(VINKLA_SOURCE_DIR) / "src")) {
        const std::string ext = e.path().extension().string();
        if (!e.is_regular_file() || (ext != ".cpp" && ext != ".h"))
            continue;
        files++;
        EXPECT_EQ(std::vector<int>{}, unwrapped_literals(read_file(e.path()))) << e.path();
    }
    EXPECT_GT(files, 100u);
}
