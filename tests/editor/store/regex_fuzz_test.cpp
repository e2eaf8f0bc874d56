// Random patterns and texts (fixed seed): whatever the pattern, compiling and
// matching must end, in bounded time, with results inside the text.
#include <gtest/gtest.h>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include "editor/store/TWKEditRegExp.h"
#include <cctype>

namespace {

std::string RandomText(std::mt19937& rng, const char* alphabet, int maxLen)
{
    size_t n = strlen(alphabet);
    int len = (int)(rng() % (unsigned)(maxLen + 1));
    std::string s;
    for (int i = 0; i < len; ++i)
        s += alphabet[rng() % n];
    return s;
}

TEST(RegExpFuzz, RandomPatternsEndSafely)
{
    std::mt19937 rng(20240611u);
    const char* patternChars = "aab^$..[[]]((||))??++**\\-b-x\x80\xFF";
    const char* textChars = "aabbx-]\r\n\x80\xFF";
    const char* templateChars = "&\\0123456789a";
    int compiled = 0, matched = 0;
    DWORD worst = 0;
    for (int i = 0; i < 100000; ++i)
    {
        std::string pat = RandomText(rng, patternChars, 18);
        TWKEditRegExp re;
        if (!re.Compile(pat.c_str()))
        {
            EXPECT_EQ(-1, re.Exec("ab"));
            continue;
        }
        ++compiled;
        for (int t = 0; t < 4; ++t)
        {
            std::string text = RandomText(rng, textChars, t == 3 ? 200 : 24);
            DWORD t0 = GetTickCount();
            int at = re.Exec(text.c_str());
            DWORD dt = GetTickCount() - t0;
            if (dt > worst)
                worst = dt;
            ASSERT_LT(dt, 5000u) << pat << " on " << text;
            if (at < 0)
                continue;
            ++matched;
            int len = (int)text.size();
            ASSERT_EQ(at, re.GetStart(0));
            ASSERT_LE(re.GetStart(0), re.GetEnd(0));
            ASSERT_LE(re.GetEnd(0), len);
            for (int g = 1; g < TWK_REGEXP_NSUB; ++g)
            {
                if (re.GetStart(g) < 0)
                    continue;
                ASSERT_LE(re.GetStart(g), re.GetEnd(g)) << pat;
                ASSERT_LE(re.GetEnd(g), len) << pat;
            }
            // The expansion is measured before it is written: its length is
            // what the template asks for, whatever the groups hold.
            std::string tmpl = RandomText(rng, templateChars, 10);
            char* full = re.Substitute(tmpl.c_str());
            ASSERT_NE(nullptr, full);
            size_t expect = 0;
            for (size_t k = 0; k < tmpl.size(); ++k)
            {
                int no = -1;
                if (tmpl[k] == '&')
                    no = 0;
                else if (tmpl[k] == '\\' && k + 1 < tmpl.size() && isdigit((unsigned char)tmpl[k + 1]))
                    no = tmpl[++k] - '0';
                else if (tmpl[k] == '\\' && k + 1 < tmpl.size() && (tmpl[k + 1] == '&' || tmpl[k + 1] == '\\'))
                    ++k;
                if (no < 0)
                    ++expect;
                else if (re.GetStart(no) >= 0)
                    expect += re.GetEnd(no) - re.GetStart(no);
            }
            EXPECT_EQ(expect, strlen(full)) << pat << " / " << tmpl;
            free(full);
        }
    }
    // The run must have exercised the matcher, not only the parser.
    EXPECT_GT(compiled, 1000);
    EXPECT_GT(matched, 1000);
    printf("compiled %d, matched %d, slowest exec %lu ms\n", compiled, matched, (unsigned long)worst);
}

} // namespace
