// Times the literal transcription of Word Count and Phrase Count against the
// real commands on one text (standard input), and prints both and the ratio.
//   frequency_compare [--real-only] [--runs N] < sample.txt
#include "PhraseCount.h"
#include "BatchHost.h"
#include "WordCount.h"
#include "LiteralFrequency.h"

#include <QElapsedTimer>
#include <QString>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

namespace {

class QuietHost final : public wordloom::BatchHost {
public:
    explicit QuietHost(QString input) : input_(std::move(input)) {}
    QString inputText() override { return input_; }
    void showStatus(const QString &) override { ++posts; }
    bool cancelRequested() override { return false; }
    void processEvents() override {}
    void setWorkText(const QString &) override {}
    void setResultText(const QString &text) override { result = text; }

    long long posts = 0;
    QString result;

private:
    QString input_;
};

double medianSeconds(int runs, const std::function<void()> &work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(double(timer.nsecsElapsed()) / 1e9);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void compare(const char *name, const QString &text, int runs, bool realOnly,
             const std::function<void(wordloom::CommandHost &)> &real,
             const std::function<void(wordloom::CommandHost &)> &literal)
{
    QuietHost realHost(text), literalHost(text);
    const double realTime = medianSeconds(runs, [&] { real(realHost); });
    std::printf("%-13s real    %10.4f s  (%lld posts per run)\n", name, realTime, realHost.posts / runs);
    if (realOnly)
        return;
    const double literalTime = medianSeconds(1, [&] { literal(literalHost); });
    std::printf("%-13s literal %10.4f s  ratio literal/real %.0f  same result: %s\n", name, literalTime,
                literalTime / realTime, literalHost.result == realHost.result ? "yes" : "NO");
}

} // namespace

int main(int argc, char **argv)
{
    bool realOnly = false;
    int runs = 5;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--real-only"))
            realOnly = true;
        else if (!std::strcmp(argv[i], "--runs") && i + 1 < argc)
            runs = std::max(1, std::atoi(argv[++i]));
    }
    const std::string bytes(std::istreambuf_iterator<char>(std::cin), {});
    QString text = QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
    text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    const QString comma = QStringLiteral(",");
    compare("word-count", text, runs, realOnly, [&](auto &h) { wordloom::ops::wordCount(h, comma); },
            [&](auto &h) { wordloom::reference::wordCount(h, comma); });
    compare("phrase-count", text, runs, realOnly, [&](auto &h) { wordloom::ops::phraseCount(h, comma); },
            [&](auto &h) { wordloom::reference::phraseCount(h, comma); });
    return 0;
}
