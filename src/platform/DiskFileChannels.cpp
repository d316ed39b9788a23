#include "platform/DiskFileChannels.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "platform/Errors.h"
#include "platform/Paths.h"

namespace trelvox {

namespace {

constexpr std::size_t kBufferSize = 64 * 1024;

const char* FopenMode(OpenMode mode) {
  switch (mode) {
    case OpenMode::Input:
      return "rb";
    case OpenMode::Output:
      return "wb";
    case OpenMode::Append:
      return "ab";
  }
  return "rb";
}

std::string Describe(int errorNumber) {
  return std::strerror(errorNumber);
}

// The first CR or LF in [begin, stop), or stop. memchr scans many bytes at a time.
const char* LineEnd(const char* begin, const char* stop) {
  const auto size = static_cast<std::size_t>(stop - begin);
  const auto* cr = static_cast<const char*>(std::memchr(begin, '\r', size));
  const std::size_t before = cr != nullptr ? static_cast<std::size_t>(cr - begin) : size;
  const auto* lf = static_cast<const char*>(std::memchr(begin, '\n', before));
  return lf != nullptr ? lf : cr != nullptr ? cr : stop;
}

bool IsDirectory(const std::filesystem::path& path) {
  std::error_code ignored;
  return std::filesystem::is_directory(path, ignored);
}

std::FILE* OpenPath(const std::filesystem::path& path, OpenMode mode) {
#ifdef _WIN32
  const char* narrow = FopenMode(mode);
  const std::wstring wide(narrow, narrow + std::strlen(narrow));
  return _wfopen(path.c_str(), wide.c_str());
#else
  return std::fopen(path.c_str(), FopenMode(mode));
#endif
}

}  // namespace

struct DiskFileChannels::Channel {
  std::FILE* file = nullptr;
  std::string path;
  OpenMode mode = OpenMode::Input;
  std::vector<char> input;  // read buffer: bytes [pos, end) are not consumed yet
  std::size_t pos = 0;
  std::size_t end = 0;
  std::string output;  // lines written but not yet handed to the file
};

DiskFileChannels::DiskFileChannels(ByteWriter* writer) : writer_(writer) {}

DiskFileChannels::~DiskFileChannels() {
  for (int number = kFirstChannel; number <= kLastChannel; ++number) {
    CloseQuietly(static_cast<std::int16_t>(number));
  }
}

std::int16_t DiskFileChannels::FreeChannel() const {
  for (int number = kFirstChannel; number <= kLastChannel; ++number) {
    if (!channels_[number]) {
      return static_cast<std::int16_t>(number);
    }
  }
  return 0;
}

OpenResult DiskFileChannels::Open(std::int16_t number, const std::string& path, OpenMode mode) {
  if (number < kFirstChannel || number > kLastChannel) {
    return {EMFILE, "Too many files are open (no free file channel)."};
  }
  if (channels_[number]) {
    return {EBUSY, "The file channel is already in use."};
  }
  const std::filesystem::path filePath = PathFromBytes(path);
  if (IsDirectory(filePath)) {
    return {EISDIR, Describe(EISDIR)};
  }
  errno = 0;
  std::FILE* file = OpenPath(filePath, mode);
  if (file == nullptr) {
    const int error = errno != 0 ? errno : EIO;
    return {error, Describe(error)};
  }
  // Our own buffers do the buffering; a second layer would only copy the bytes again.
  std::setvbuf(file, nullptr, _IONBF, 0);
  auto channel = std::make_unique<Channel>();
  channel->file = file;
  channel->path = path;
  channel->mode = mode;
  if (mode == OpenMode::Input) {
    channel->input.resize(kBufferSize);
  } else {
    channel->output.reserve(kBufferSize + 1024);
  }
  channels_[number] = std::move(channel);
  return {};
}

DiskFileChannels::Channel* DiskFileChannels::Find(std::int16_t number) const {
  if (number < kFirstChannel || number > kLastChannel) {
    return nullptr;
  }
  return channels_[number].get();
}

DiskFileChannels::Channel& DiskFileChannels::Require(std::int16_t number) const {
  Channel* channel = Find(number);
  if (channel == nullptr) {
    throw TrelvoxError("File channel " + std::to_string(number) + " is not open.");
  }
  return *channel;
}

bool DiskFileChannels::IsOpen(std::int16_t number) const {
  return Find(number) != nullptr;
}

bool DiskFileChannels::Refill(Channel& channel) {
  if (channel.mode != OpenMode::Input) {
    return false;
  }
  channel.pos = 0;
  channel.end = std::fread(channel.input.data(), 1, channel.input.size(), channel.file);
  if (channel.end == 0 && std::ferror(channel.file)) {
    const int error = errno != 0 ? errno : EIO;
    throw ReadError("Could not read " + channel.path + ": " + Describe(error));
  }
  return channel.end > 0;
}

bool DiskFileChannels::AtEnd(std::int16_t number) {
  Channel* channel = Find(number);
  if (channel == nullptr) {
    return true;
  }
  return channel->pos >= channel->end && !Refill(*channel);
}

void DiskFileChannels::ReadLine(std::int16_t number, std::string& line) {
  Channel& channel = Require(number);
  line.clear();
  while (channel.pos < channel.end || Refill(channel)) {
    const char* begin = channel.input.data() + channel.pos;
    const char* stop = channel.input.data() + channel.end;
    const char* cursor = LineEnd(begin, stop);
    line.append(begin, cursor);
    if (cursor == stop) {
      channel.pos = channel.end;
      continue;
    }
    const bool carriageReturn = *cursor == '\r';
    channel.pos = static_cast<std::size_t>(cursor - channel.input.data()) + 1;
    // A CR may be the first half of CR LF even when the LF sits in the next buffer load.
    if (carriageReturn && (channel.pos < channel.end || Refill(channel)) &&
        channel.input[channel.pos] == '\n') {
      ++channel.pos;
    }
    return;
  }
}

void DiskFileChannels::Flush(std::int16_t number, Channel& channel) {
  if (channel.output.empty()) {
    return;
  }
  errno = 0;
  const std::size_t written =
      writer_ != nullptr
          ? writer_->Write(channel.path, channel.output.data(), channel.output.size(), channel.file)
          : std::fwrite(channel.output.data(), 1, channel.output.size(), channel.file);
  if (written != channel.output.size()) {
    const int error = errno != 0 ? errno : EIO;
    const std::string path = channel.path;
    Release(number);
    throw WriteError("Could not write to " + path + ": " + Describe(error));
  }
  channel.output.clear();
}

DiskFileChannels::Channel& DiskFileChannels::RequireOutput(std::int16_t number) const {
  Channel& channel = Require(number);
  if (channel.mode == OpenMode::Input) {
    throw WriteError("Could not write to " + channel.path + ": it is open for reading only.");
  }
  return channel;
}

void DiskFileChannels::EndLine(std::int16_t number, Channel& channel) {
  channel.output.append("\r\n", 2);
  if (channel.output.size() >= kBufferSize) {
    Flush(number, channel);
  }
}

void DiskFileChannels::WriteLine(std::int16_t number, std::string_view text) {
  Channel& channel = RequireOutput(number);
  channel.output.append(text);
  EndLine(number, channel);
}

void DiskFileChannels::WriteJoined(std::int16_t number, std::span<const std::string> values,
                                   char separator) {
  Channel& channel = RequireOutput(number);
  std::size_t size = values.empty() ? 0 : values.size() - 1;
  for (const std::string& value : values) {
    size += value.size();
  }
  std::size_t at = channel.output.size();
  channel.output.resize(at + size);
  char* out = channel.output.data();
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (i > 0) {
      out[at++] = separator;
    }
    values[i].copy(out + at, values[i].size());
    at += values[i].size();
  }
  EndLine(number, channel);
}

void DiskFileChannels::Close(std::int16_t number) {
  Channel* channel = Find(number);
  if (channel == nullptr) {
    return;
  }
  Flush(number, *channel);
  const std::string path = channel->path;
  errno = 0;
  const int status = std::fclose(channel->file);
  const int error = errno != 0 ? errno : EIO;
  channels_[number].reset();
  if (status != 0) {
    throw WriteError("Could not write to " + path + ": " + Describe(error));
  }
}

void DiskFileChannels::FlushAll() {
  for (int number = kFirstChannel; number <= kLastChannel; ++number) {
    if (Channel* channel = Find(static_cast<std::int16_t>(number))) {
      Flush(static_cast<std::int16_t>(number), *channel);
    }
  }
}

void DiskFileChannels::Release(std::int16_t number) noexcept {
  Channel* channel = Find(number);
  if (channel == nullptr) {
    return;
  }
  if (channel->file != nullptr) {
    std::fclose(channel->file);
  }
  channels_[number].reset();
}

void DiskFileChannels::CloseQuietly(std::int16_t number) noexcept {
  Channel* channel = Find(number);
  if (channel == nullptr) {
    return;
  }
  try {
    Flush(number, *channel);
  } catch (...) {
    // The command has already failed and said so; what cannot be written is dropped.
  }
  Release(number);
}

}  // namespace trelvox
