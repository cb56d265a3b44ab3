// What `cmake --install` puts in place for wordloom-cli: the program, its
// manual page and its bash completion, all in step with --help.
#include "cli_test_support.h"

#include "CommandTable.h"

#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using namespace cli_test;

// The distinct matches, sorted and joined, for a readable comparison.
std::string matches(const QString &pattern, const QByteArray &text)
{
    QSet<QString> found;
    auto it = QRegularExpression(pattern).globalMatch(QString::fromUtf8(text));
    while (it.hasNext())
        found.insert(it.next().captured(0));
    QStringList sorted(found.begin(), found.end());
    sorted.sort();
    return sorted.join(u' ').toStdString();
}

class CliInstall : public ::testing::Test {
protected:
    void SetUp() override
    {
        QProcess cmake;
        cmake.start(QStringLiteral("cmake"), {"--install", WORDLOOM_BUILD_DIR, "--component",
                                              "wordloom-cli", "--prefix", prefix.path()});
        ASSERT_TRUE(wordloom::testing::waitForExit(cmake)) << "cmake --install did not finish";
        ASSERT_EQ(cmake.exitCode(), 0) << cmake.readAllStandardError().constData();
    }
    QString installed(const QString &path) const { return prefix.filePath(path); }
    QTemporaryDir prefix;
};

TEST_F(CliInstall, ManualPageMatchesTheHelp)
{
    const QByteArray page = readFile(installed("share/man/man1/wordloom-cli.1"));
    ASSERT_FALSE(page.isEmpty());
    const QByteArray help = runCli({"--help"}).out;
    // roff writes a dash in an option as "\-".
    const QByteArray plainPage = QByteArray(page).replace("\\-", "-");
    const QString options = QStringLiteral(R"(--[a-z]+)");
    const QString commands = QStringLiteral(R"(\b[a-z]+-(case|only|codes|lines|words|count)\b)");
    EXPECT_EQ(matches(options, plainPage), matches(options, help));
    EXPECT_EQ(matches(commands, plainPage), matches(commands, help));
    EXPECT_TRUE(page.contains(runCli({"--version"}).out.trimmed()));

    QProcess groff;
    groff.start(QStringLiteral("groff"), {"-man", "-Tutf8", "-ww", "-z", installed("share/man/man1/wordloom-cli.1")});
    if (!groff.waitForStarted())
        GTEST_SKIP() << "groff is not available to check the page";
    ASSERT_TRUE(wordloom::testing::waitForExit(groff)) << "groff did not finish";
    EXPECT_EQ(groff.exitCode(), 0);
    EXPECT_EQ(groff.readAllStandardError(), QByteArray()) << "no roff warnings";
}

// The manual page's command list and the completion's command words are those
// of the commands' description, in its order.
TEST_F(CliInstall, ManualPageAndCompletionListTheDescribedCommands)
{
    QStringList described;
    for (const auto &command : wordloom::ops::commandTable())
        described << QString::fromLatin1(command.name.data(), qsizetype(command.name.size()));

    const QString page = QString::fromUtf8(readFile(installed("share/man/man1/wordloom-cli.1")));
    const qsizetype from = page.indexOf(QStringLiteral(".SH COMMANDS")), to = page.indexOf(QStringLiteral(".SH"), from + 1);
    ASSERT_GE(from, 0);
    QStringList listed;
    auto entries = QRegularExpression(QStringLiteral("^\\.B (\\S+)$"), QRegularExpression::MultilineOption)
                       .globalMatch(page.mid(from, to - from));
    while (entries.hasNext())
        listed << entries.next().captured(1).replace(QStringLiteral("\\-"), QStringLiteral("-"));
    EXPECT_EQ(listed, described);

    const QString completion = QString::fromUtf8(readFile(installed("share/bash-completion/completions/wordloom-cli")));
    const auto words = QRegularExpression(QStringLiteral("local commands=\"([^\"]*)\"")).match(completion);
    ASSERT_TRUE(words.hasMatch());
    EXPECT_EQ(words.captured(1).split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts), described);
}

TEST_F(CliInstall, ProgramAndCompletionAreInstalled)
{
    QProcess version;
    version.start(installed("bin/wordloom-cli"), {"--version"});
    ASSERT_TRUE(wordloom::testing::waitForExit(version));
    EXPECT_EQ(version.readAllStandardOutput(), QByteArray("wordloom-cli 2.2.6\n"));

    // Each case: the words on the line, the last one being completed.
    const CliRun r = runShell(
        "source '" + installed("share/bash-completion/completions/wordloom-cli") + "'\n"
        "t() { COMP_WORDS=(\"$@\"); COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); _wordloom_cli;"
        " echo \"${COMPREPLY[*]}\"; }\n"
        "t wordloom-cli so\n"
        "t wordloom-cli --raw word-\n"
        "t wordloom-cli word-count --fo\n"
        "t wordloom-cli word-count --format = c\n"
        "t wordloom-cli word-count --format=t\n"
        "t wordloom-cli -o out s\n"
        "t wordloom-cli -S 10M --b\n"
        "t wordloom-cli -S 10M unique-l\n"
        "cd '" + prefix.path() + "' && t wordloom-cli sort-lines b\n");
    EXPECT_EQ(r.out, QByteArray("sort-lines sort-words\n"
                                "word-count\n"
                                "--format=\n"
                                "csv\n"
                                "table tsv\n"
                                "sort-lines sort-words\n"
                                "--buffer-size=\n"
                                "unique-lines\n"
                                "bin\n")) << r.err.constData();
}

} // namespace
