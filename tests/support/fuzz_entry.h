// What the fuzz entries share: the invariant check that stops the run, the UTF-8 test of texts
// meant for the user, and the libFuzzer entry point.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include <unistd.h>

#include "link/surfaces.h"

namespace zelor::fuzz {

// A broken invariant is a finding: libFuzzer saves the input that led to it.
inline void Check(bool condition) {
  if (!condition) std::abort();
}

inline bool ValidUtf8(std::string_view s) {
  for (std::size_t i = 0; i < s.size();) {
    const auto c = static_cast<uint8_t>(s[i]);
    const std::size_t more = c < 0x80 ? 0 : (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : 4;
    if (more > 3 || i + more >= s.size()) return false;
    for (std::size_t k = 1; k <= more; ++k) {
      if ((static_cast<uint8_t>(s[i + k]) & 0xC0) != 0x80) return false;
    }
    i += more + 1;
  }
  return true;
}

// A log that holds nothing and checks that every line it is given is UTF-8.
class CheckingMemo : public LogMemo {
 public:
  void Clear() override {}
  void AddLine(const std::string& line) override { Check(ValidUtf8(line)); }
  void DeleteLastLine() override {}
  void SetColor(MemoColor) override {}
  void SetVisible(bool) override {}
};

// The file an entry hands to a reader of files: one per process, in memory where the system
// offers it, rewritten for every input and removed at the end.
class ScratchFile {
 public:
  explicit ScratchFile(const std::string& name) {
    const std::filesystem::path shm = "/dev/shm";
    const auto dir = std::filesystem::is_directory(shm) ? shm : std::filesystem::temp_directory_path();
    path_ = (dir / ("zelor-fuzz-" + std::to_string(::getpid()) + "-" + name)).string();
  }
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;
  ~ScratchFile() {
    std::error_code ec;
    std::filesystem::remove(path_, ec);
  }
  const std::string& Write(const uint8_t* data, std::size_t size) {
    std::ofstream out(path_, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    out.close();
    Check(!out.fail());
    return path_;
  }

 private:
  std::string path_;
};

// The entries, each in tests/<subsystem>/<stem>_fuzz.cpp beside its corpus <stem>_corpus/.
int Receive(const uint8_t* data, std::size_t size);              // link/receive
int PortFileInput(const uint8_t* data, std::size_t size);        // link/port_file
int ParseImageFile(const uint8_t* data, std::size_t size);       // config/parse_image
int LcdCodecInput(const uint8_t* data, std::size_t size);        // config/lcd_codec
int FirmwareFileInput(const uint8_t* data, std::size_t size);    // upgrade/firmware_file
int RequestFramerInput(const uint8_t* data, std::size_t size);   // sim/request_framer

}  // namespace zelor::fuzz

// In a fuzz program (built with ZELOR_FUZZ_PROGRAM) the entry's function becomes libFuzzer's; in
// a test program it keeps its own name, so that one program replays several corpora.
#ifdef ZELOR_FUZZ_PROGRAM
#define ZELOR_FUZZ_ENTRY(function)                                                    \
  extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {      \
    return function(data, size);                                                      \
  }
#else
#define ZELOR_FUZZ_ENTRY(function)
#endif
