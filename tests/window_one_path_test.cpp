// Every command, run by the window's button and by the batch host that
// wordloom-cli uses, does the same: the same status posts in the same order,
// the same cancel tests, the same result and the user's text back in place.
// The pairs of button and command word come from the commands' description.
#include "CommandTable.h"
#include "WindowParts.h"
#include "RecordingHost.h"
#include "TextGenerator.h"
#include "WindowFixture.h"

using namespace wordloom::testing;

namespace {

struct Observed {
    QStringList posts;
    int cancelTests = 0;
    QString result;
    QString input;
};

class OnePath : public wordloom::testing::WindowFixture {
protected:
    // Cancel is pressed during post `cancelAt` (1-based; 0 never).
    Observed throughTheWindow(std::string_view name, const QString &input, int cancelAt)
    {
        rtbText(*window)->setText(input);
        rtbResult(*window)->setText(QString());
        posts.clear();
        observer.cancelTests = 0;
        onPost = [this, cancelAt](const QString &) {
            if (posts.size() == cancelAt)
                button("cmdCancel")->click();
        };
        button(std::string(name).c_str())->click();
        onPost = nullptr;
        return {posts, observer.cancelTests, rtbResult(*window)->Text(), rtbText(*window)->Text()};
    }

    static Observed throughTheBatchHost(std::string_view name, const QString &input, int cancelAt)
    {
        wordloom::testing::RecordingHost host(input);
        host.cancelAtPost = cancelAt;
        wordloom::ops::findCommand(name)->run(host);
        return {host.posts, host.cancelTests, host.result.value_or(QString()), host.input};
    }
};

TEST_F(OnePath, EveryCommandRunsAlikeInTheWindowAndTheBatchHost)
{
    wordloom::testing::TextGenerator generate(7001);
    for (int round = 0; round < 12; ++round) {
        const QString input = generate.text(60);
        for (const wordloom::ops::Command &c : wordloom::ops::commandTable()) {
            SCOPED_TRACE(std::string(c.name) + " round " + std::to_string(round));
            ASSERT_EQ(button(std::string(c.button).c_str())->text().toStdString(), c.caption);
            const Observed batch = throughTheBatchHost(c.name, input, 0);
            const Observed shown = throughTheWindow(c.button, input, 0);
            ASSERT_EQ(shown.posts, batch.posts);
            ASSERT_EQ(shown.cancelTests, batch.cancelTests);
            ASSERT_EQ(batch.cancelTests > 0, c.traits.readsCancel);
            ASSERT_EQ(shown.result, batch.result);
            ASSERT_EQ(shown.input, input);
            ASSERT_EQ(batch.input, input);

            // Cancel pressed during one of the posts, a different one each round.
            const int cancelAt = 2 + round % std::max<int>(1, int(batch.posts.size()) - 1);
            const Observed batchCancelled = throughTheBatchHost(c.name, input, cancelAt);
            const Observed shownCancelled = throughTheWindow(c.button, input, cancelAt);
            ASSERT_EQ(shownCancelled.posts, batchCancelled.posts) << "cancelled at post " << cancelAt;
            ASSERT_EQ(shownCancelled.cancelTests, batchCancelled.cancelTests);
            ASSERT_EQ(shownCancelled.result, batchCancelled.result);
            ASSERT_EQ(shownCancelled.input, input);
        }
    }
    EXPECT_EQ(countersForTheNextCommand(), (ScriptedObserver::Depths{0, 0}));
}

} // namespace
