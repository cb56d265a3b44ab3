// Writes one of the repeating texts the Phrase Count tests use, at any size:
//   repeating_text periodic|stretches PERIOD CHANGES BYTES [SEED] > text
#include "RepeatingTextGenerator.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char **argv)
{
    if (argc < 5) {
        std::fprintf(stderr, "usage: repeating_text periodic|stretches PERIOD CHANGES BYTES [SEED]\n");
        return 2;
    }
    wordloom::testing::RepeatingShape shape;
    shape.kind = std::strcmp(argv[1], "stretches") == 0 ? wordloom::testing::RepeatingShape::RepeatedStretches
                                                        : wordloom::testing::RepeatingShape::Periodic;
    shape.period = std::atoi(argv[2]);
    shape.changes = std::atoi(argv[3]);
    shape.bytes = std::strtoull(argv[4], nullptr, 10);
    shape.seed = argc > 5 ? unsigned(std::atoi(argv[5])) : 1;
    const QByteArray text = wordloom::testing::RepeatingTextGenerator::text(shape).toUtf8();
    std::fwrite(text.constData(), 1, std::size_t(text.size()), stdout);
    return 0;
}
