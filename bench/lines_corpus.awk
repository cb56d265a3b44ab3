# Lines of one to six words drawn from a generated 50,000-word vocabulary:
#   awk -v lines=1000000 -f bench/lines_corpus.awk
# Park-Miller generator: exact in awk's doubles, so every awk gives the same file.
BEGIN {
  seed = 20240601
  for (w = 0; w < 50000; w++) {
    len = 3 + next_int(11); word = ""
    for (c = 0; c < len; c++) word = word sprintf("%c", 97 + next_int(26))
    if (next_int(8) == 0) word = toupper(substr(word, 1, 1)) substr(word, 2)
    vocab[w] = word
  }
  for (l = 0; l < lines; l++) {
    n = 1 + next_int(6); line = vocab[next_int(50000)]
    for (k = 1; k < n; k++) line = line " " vocab[next_int(50000)]
    print line
  }
}
function next_int(m) { seed = (seed * 16807) % 2147483647; return int(seed / 2147483647 * m) }
