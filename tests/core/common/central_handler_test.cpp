// The central handler: the error's text with the trailing-dot rule, in the box captioned
// "Quarzel 3" with the error icon.
#include <gtest/gtest.h>

#include <string>

#include "common/central_handler.h"
#include "common/system_error.h"
#include "common/win1252.h"
#include "fakes.h"

namespace quarzel {
namespace {

TEST(CentralHandlerTest, ADotFollowsTextsWhoseLastCharacterComesAfterTheDot) {
    const struct {
        const char* text;  // UTF-8
        const char* shown;
    } cases[] = {
        {"Integerüberlauf", "Integerüberlauf."},
        {"Fehler bei Bereichsprüfung", "Fehler bei Bereichsprüfung."},
        {"'abc' ist kein gültiger Integerwert", "'abc' ist kein gültiger Integerwert."},
        {"Datei nicht gefunden", "Datei nicht gefunden."},
        {"Wert 5", "Wert 5."},
        {"Pfad /", "Pfad /."},      // "/" is the first code after "."
        {"Zeile ä", "Zeile ä."},    // bytes above 0x7F count as greater
        {"Zähler €", "Zähler €."},  // 0x80, the top bit set
        {"Listenindex überschreitet das Maximum (600)",
         "Listenindex überschreitet das Maximum (600)"},
        {"Achtung!", "Achtung!"},
        {"Schon ein Satz.", "Schon ein Satz."},
        {"Bindestrich -", "Bindestrich -"},  // "-" comes just before "."
        {"Leerzeichen ", "Leerzeichen "},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(toUtf8(centralHandlerText(fromUtf8(c.text))), c.shown) << '"' << c.text << '"';
    }
}

TEST(CentralHandlerTest, FactoriesCarryTheSystemsTexts) {
    EXPECT_EQ(toUtf8(conversionError("12a").text()), "'12a' ist kein gültiger Integerwert");
    EXPECT_EQ(toUtf8(integerOverflow().text()), "Integerüberlauf");
    EXPECT_EQ(toUtf8(rangeCheckError().text()), "Fehler bei Bereichsprüfung");
    EXPECT_EQ(toUtf8(listIndexError(-1).text()), "Listenindex überschreitet das Maximum (-1)");
}

TEST(CentralHandlerTest, GuardedShowsTheErrorAndKeepsWhatTheHandlerHadDone) {
    testing::EventLog log;
    testing::FakePrompts prompts(log);
    int steps = 0;
    guarded(prompts, [&] {
        ++steps;
        throw integerOverflow();
    });
    EXPECT_EQ(steps, 1);
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text, "Integerüberlauf.");
    EXPECT_EQ(prompts.messages[0].caption, "Quarzel 3");
    EXPECT_EQ(prompts.messages[0].icon, MessageIcon::Error);

    guarded(prompts, [&] { ++steps; });
    EXPECT_EQ(steps, 2);
    EXPECT_EQ(prompts.messages.size(), 1u) << "a handler that succeeds shows nothing";
}

}  // namespace
}  // namespace quarzel
