// The yardstick of the conversion benchmark: a minimal converter written for one job only, the
// composite file of an AZK input without COT, as trelvox-batch parse-all writes it in the C
// locale (ID, month/day/year date, trial number, item, RT, error code, further fields). It
// reads 64 KiB at a time, finds lines with memchr, reads the reaction time with
// std::from_chars and formats the rows into one output buffer. Lines end in CR LF or LF.
//
//   bench_azk_convert TIMEOUT INPUT.azk OUTPUT.dat
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr std::size_t kBufferSize = 64 * 1024;

class Output {
 public:
  explicit Output(std::FILE* file) : file_(file) {}
  ~Output() { Flush(); }
  void Put(std::string_view text) {
    if (size_ + text.size() > kBufferSize) {
      Flush();
    }
    std::memcpy(buffer_ + size_, text.data(), text.size());
    size_ += text.size();
  }
  void Put(char c) { Put(std::string_view(&c, 1)); }
  void Flush() {
    std::fwrite(buffer_, 1, size_, file_);
    size_ = 0;
  }

 private:
  std::FILE* file_;
  char buffer_[kBufferSize];
  std::size_t size_ = 0;
};

std::string_view NextField(std::string_view& rest) {
  const std::size_t start = rest.find_first_not_of(' ');
  if (start == std::string_view::npos) {
    rest = {};
    return {};
  }
  rest.remove_prefix(start);
  const std::size_t blank = rest.find(' ');
  const std::string_view field = rest.substr(0, blank);
  rest = blank == std::string_view::npos ? std::string_view() : rest.substr(blank + 1);
  return field;
}

std::string ShortDate(std::string_view text) {  // "06/02/2015" -> "6/2/2015"
  std::string date;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '0' && (i == 0 || text[i - 1] == '/') && i + 1 < text.size() &&
        text[i + 1] != '/') {
      continue;
    }
    date += text[i];
  }
  return date;
}

class Converter {
 public:
  Converter(double timeOut, Output& out) : timeOut_(timeOut), out_(out) {}

  void Line(std::string_view line) {
    if (skipNext_) {
      skipNext_ = false;
      return;
    }
    if (!inBlock_) {
      if (line.find("Subject") != std::string_view::npos &&
          line.find("refresh") != std::string_view::npos) {
        StartSubject(line);
      }
      return;
    }
    if (line.empty()) {
      inBlock_ = false;
    } else if (line.front() != '!') {
      Trial(line);
    }
  }

 private:
  void StartSubject(std::string_view line) {
    const std::size_t comma = line.find(", ");
    const std::string_view rest = line.substr(comma + 2);
    prefix_ = std::string(rest.substr(rest.find(", ID ") + 5)) + '\t' +
              ShortDate(rest.substr(0, 10)) + '\t';
    trial_ = 0;
    inBlock_ = true;
    skipNext_ = true;
  }

  void Trial(std::string_view line) {
    std::string_view rest = line;
    const std::string_view item = NextField(rest);
    const std::string_view rtText = NextField(rest);
    double rt = 0;
    if (std::from_chars(rtText.data(), rtText.data() + rtText.size(), rt).ec != std::errc()) {
      return;
    }
    char number[16];
    const auto end = std::to_chars(number, number + sizeof number, ++trial_).ptr;
    out_.Put(prefix_);
    out_.Put(std::string_view(number, static_cast<std::size_t>(end - number)));
    out_.Put('\t');
    out_.Put(item);
    out_.Put('\t');
    out_.Put(rtText);
    out_.Put(rt >= 0 ? "\t0" : rt == -timeOut_ ? "\t2" : "\t1");
    while (!rest.empty()) {
      out_.Put('\t');
      out_.Put(NextField(rest));
    }
    out_.Put("\r\n");
  }

  double timeOut_;
  Output& out_;
  std::string prefix_;
  int trial_ = 0;
  bool inBlock_ = false;
  bool skipNext_ = false;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fputs("usage: bench_azk_convert TIMEOUT INPUT.azk OUTPUT.dat\n", stderr);
    return 2;
  }
  std::FILE* in = std::fopen(argv[2], "rb");
  std::FILE* outFile = std::fopen(argv[3], "wb");
  if (in == nullptr || outFile == nullptr) {
    std::perror("bench_azk_convert");
    return 1;
  }
  auto output = std::make_unique<Output>(outFile);
  output->Put("SubID\tDate\tTrialNum\tTrialID\tRT\tError\r\n");
  Converter converter(std::atof(argv[1]), *output);
  std::vector<char> buffer(kBufferSize);
  std::size_t kept = 0;
  while (true) {
    const std::size_t read = std::fread(buffer.data() + kept, 1, buffer.size() - kept, in);
    const std::size_t size = kept + read;
    const char* begin = buffer.data();
    const char* stop = begin + size;
    while (const auto* lf = static_cast<const char*>(std::memchr(begin, '\n', stop - begin))) {
      const char* end = lf > begin && lf[-1] == '\r' ? lf - 1 : lf;
      converter.Line(std::string_view(begin, static_cast<std::size_t>(end - begin)));
      begin = lf + 1;
    }
    kept = static_cast<std::size_t>(stop - begin);
    if (read == 0) {
      if (kept > 0) {
        converter.Line(std::string_view(begin, kept));
      }
      break;
    }
    std::memmove(buffer.data(), begin, kept);
    if (kept == buffer.size()) {
      buffer.resize(buffer.size() * 2);
    }
  }
  output.reset();
  std::fclose(in);
  return std::fclose(outFile) == 0 ? 0 : 1;
}
