// Every command, failing or closed at each of its status posts, keeps the
// user's text and leaves a usable window.
#include "Patience.h"
#include "WindowParts.h"
#include "WindowFixture.h"

#include <QTest>
#include <new>
#include <stdexcept>

using namespace wordloom::testing;

using wordloom::testing::WindowFixture;

namespace {

struct CommandButton {
    const char *name;
    const char *caption;
};

const CommandButton kCommands[] = {
    {"cmdCase", "Change Case"},       {"cmdClean", "Characters Only"},
    {"cmdPurify", "Letters Only"},    {"cmdSortLines", "Sort Lines"},
    {"cmdSortWords", "Sort Words"},   {"cmdUniqueLines", "Unique Lines"},
    {"cmdUniqueWords", "Unique Words"}, {"cmdWordCount", "Word Count"},
    {"cmdPhraseCount", "Phrase Count"}, {"cmdBinaryCodes", "Binary Codes"},
};

const QString kInput = QStringLiteral("the cat sat\r\n\tthe cat sat\r\nexam-\r\nple b a\r\n");

using Depths = std::vector<ScriptedObserver::Depths>;

class CommandFailures : public WindowFixture {
protected:
    // The posts of an undisturbed run, and the counters at each.
    std::pair<QStringList, Depths> cleanRun(const char *name)
    {
        rtbText(*window)->setText(kInput);
        posts.clear();
        observer.depths.clear();
        button(name)->click();
        return {posts, observer.depths};
    }

    void expectUsableWithTheUserText(const char *what)
    {
        SCOPED_TRACE(what);
        EXPECT_FALSE(button("cmdCancel")->isEnabled());
        EXPECT_EQ(window->cursor().shape(), Qt::ArrowCursor);
        EXPECT_EQ(rtbText(*window)->Text(), kInput);
    }
};

TEST_F(CommandFailures, AFailureAtAnyPostIsReportedAndLosesNothing)
{
    int runs = 0;
    for (const auto &command : kCommands) {
        SCOPED_TRACE(command.name);
        const auto expected = cleanRun(command.name);
        const Depths &undisturbed = expected.second;
        ASSERT_FALSE(expected.first.isEmpty());
        for (int post = 1; post <= expected.first.size(); ++post) {
            for (bool outOfMemory : {false, true}) {
                SCOPED_TRACE(post);
                dialogs->shown.clear();
                rtbText(*window)->setText(kInput);
                observer.depths.clear();
                observer.failAt(post, [outOfMemory] {
                    if (outOfMemory)
                        throw std::bad_alloc();
                    throw std::runtime_error("injected");
                });
                button(command.name)->click();
                ++runs;
                ASSERT_EQ(dialogs->shown.size(), 1u);
                EXPECT_TRUE(dialogs->shown[0].text.contains(QLatin1String(command.caption)));
                expectUsableWithTheUserText("after the failure");
                // Up to the failure, the counters were those of an undisturbed
                // run: the failure before this one left none raised.
                EXPECT_EQ(observer.depths, Depths(undisturbed.begin(), undisturbed.begin() + post));
            }
        }
        EXPECT_EQ(cleanRun(command.name), expected) << "the next run is undisturbed";
        expectUsableWithTheUserText("after the next run");
        EXPECT_EQ(countersForTheNextCommand(), (ScriptedObserver::Depths{0, 0}));
    }
    RecordProperty("failure_injection_runs", runs);
    std::printf("failure-injection runs: %d, all kept the input text\n", runs);
}

class ClosingDuringCommands : public WindowFixture {};

TEST_F(ClosingDuringCommands, CloseAtAnyPostUnwindsThenCloses)
{
    int closes = 0;
    int seen = 0; // the fixture calls a copy of the hook, so the count lives out here
    for (const auto &command : kCommands) {
        SCOPED_TRACE(command.name);
        onPost = nullptr;
        window.reset();
        SetUp();
        rtbText(*window)->setText(kInput);
        posts.clear();
        button(command.name)->click();
        const int postCount = int(posts.size());
        ASSERT_GT(postCount, 1);
        const QString lastPost = posts.last();
        for (int post = 1; post <= postCount; ++post) {
            SCOPED_TRACE(post);
            window.reset();
            SetUp();
            rtbText(*window)->setText(kInput);
            settings.writeSection(QStringLiteral("Wordloom"), QStringLiteral("frmWordloom"),
                                  {{QStringLiteral("WindowState"), QStringLiteral("unset")}});
            seen = 0;
            onPost = [this, post, &seen](const QString &) {
                if (++seen == post)
                    window->close();
            };
            button(command.name)->click();
            QTRY_VERIFY_WITH_TIMEOUT(!window->isVisible(), wordloom::testing::kPatienceMs);
            EXPECT_EQ(settings.readSection(QStringLiteral("Wordloom"), QStringLiteral("frmWordloom"))
                          .value(QStringLiteral("WindowState")),
                      QStringLiteral("0"))
                << "the placement is stored";
            // The command went its way to the end, or to the cancel test that
            // found the close, before the window went.
            EXPECT_TRUE(posts.last() == lastPost || posts.last() == QStringLiteral("Cancelled"))
                << posts.last().toStdString();
            EXPECT_EQ(rtbText(*window)->Text(), kInput);
            ++closes;
        }
    }
    std::printf("closed during a status post: %d times\n", closes);
}

} // namespace
