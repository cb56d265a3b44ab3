#pragma once

#include "CommandRun.h"

#include <gtest/gtest.h>

namespace wordloom::testing {

inline QString visible(const QString &text)
{
    QString shown;
    for (QChar c : text) {
        const char16_t u = c.unicode();
        shown += (u >= 32 && u < 127) ? QString(c) : QStringLiteral("<%1>").arg(u, 0, 16);
    }
    return shown;
}

inline void expectSameRun(const CommandRun &got, const CommandRun &want, const QString &input,
                          int cancelAtPost)
{
    const std::string where = "input: " + visible(input).toStdString() +
                              " cancel at post " + std::to_string(cancelAtPost);
    EXPECT_EQ(got.outcome, want.outcome) << where;
    EXPECT_EQ(got.posts, want.posts) << where;
    EXPECT_EQ(got.cancelTests, want.cancelTests) << where;
    EXPECT_EQ(got.eventPumps, want.eventPumps) << where;
    EXPECT_EQ(got.work, want.work) << where;
    EXPECT_EQ(got.result, want.result) << where;
}

} // namespace wordloom::testing
