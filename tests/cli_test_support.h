#pragma once

// Runs wordloom-cli as a process for the CLI tests.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include "Patience.h"

#include <gtest/gtest.h>

namespace cli_test {

struct CliRun {
    int exitCode;
    QByteArray out;
    QByteArray err;
    bool crashed; // ended by a signal
};

inline CliRun finish(QProcess &p)
{
    if (!wordloom::testing::waitForExit(p))
        ADD_FAILURE() << "timed out: " << p.program().toStdString() << " " << p.arguments().join(' ').toStdString()
                      << " did not finish within " << wordloom::testing::kPatienceMinutes << " minutes";
    return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError(),
            p.exitStatus() == QProcess::CrashExit};
}

inline CliRun runCli(const QStringList &args, const QByteArray &input = {})
{
    QProcess p;
    p.start(QStringLiteral(WORDLOOM_CLI), args);
    p.write(input);
    p.closeWriteChannel();
    return finish(p);
}

// A bash script with $CLI naming the program, for pipes and closed streams.
inline CliRun runShell(const QString &script)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("CLI"), QStringLiteral(WORDLOOM_CLI));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral("bash"), {QStringLiteral("-c"), script});
    p.closeWriteChannel();
    return finish(p);
}

inline void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    file.write(bytes);
}

inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

// The names in a folder, hidden ones and dangling links included: what a run
// left behind.
inline QStringList entriesOf(const QString &dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                               QDir::Name);
}

} // namespace cli_test
