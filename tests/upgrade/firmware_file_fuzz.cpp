// libFuzzer entry for the firmware-file loader: a file read by LoadFirmwareFile. Sizes outside
// 61442 .. 63490 bytes are refused with both images erased; a loaded file's bytes land exactly
// where the frames take them from. Also linked into test_upgrade, which replays the corpus.
// Input: the file's size (two bytes, low first), then its bytes, repeated to fill that size:
// inputs stay small while the sizes around the limits are explored.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz_entry.h"
#include "upgrade/firmware_file.h"

namespace zelor::fuzz {

namespace {

bool AllErased(const uint8_t* begin, const uint8_t* end) {
  static const std::vector<uint8_t> erased(kFirmwareBytes, kErasedByte);
  const auto n = static_cast<std::size_t>(end - begin);
  return n <= erased.size() && std::memcmp(begin, erased.data(), n) == 0;
}

}  // namespace

int FirmwareFileInput(const uint8_t* input, std::size_t inputSize) {
  if (inputSize < 2) return 0;
  static ScratchFile scratch("firmware.bin");
  static std::vector<uint8_t> file;
  file.resize(input[0] | std::size_t{input[1]} << 8);
  const uint8_t* pattern = input + 2;
  const std::size_t period = inputSize - 2;
  if (period == 0) {
    std::fill(file.begin(), file.end(), uint8_t{0x5A});
  } else if (!file.empty()) {
    // The pattern once, then the filled part doubled: a whole number of periods each time.
    std::size_t filled = std::min(period, file.size());
    std::copy_n(pattern, filled, file.begin());
    for (; filled < file.size(); filled *= 2) {
      std::copy_n(file.begin(), std::min(filled, file.size() - filled), file.begin() + static_cast<std::ptrdiff_t>(filled));
    }
  }
  const uint8_t* data = file.data();
  const std::size_t size = file.size();
  const std::string& path = scratch.Write(data, size);
  // The images of a previous file, as when the user loads a second file after a first.
  static FirmwareImages images;
  const FirmwareLoadResult result = LoadFirmwareFile(path, images);
  const auto& fw = images.FirmwareImage;
  const auto& aux = images.AuxImage;
  if (size < kMinFirmwareFileBytes || size > kMaxFirmwareFileBytes) {
    Check(result.status == FirmwareLoad::WrongSize);
    Check(AllErased(fw.data(), fw.data() + fw.size()) && AllErased(aux.data(), aux.data() + aux.size()));
    return 0;
  }
  Check(result.status == FirmwareLoad::Loaded && result.error.empty());
  // Compared with memcmp: a byte loop here would only slow every execution down.
  Check(std::memcmp(fw.data(), data, kFirmwareBytes) == 0);
  Check(images.CheckWord == (data[kFirmwareBytes] | data[kFirmwareBytes + 1] << 8));
  const std::size_t auxBytes = size - kMinFirmwareFileBytes;
  Check(images.AuxBlockCount == (auxBytes + kAuxBlockBytes - 1) / kAuxBlockBytes);
  Check(images.AuxBlockCount <= kAuxBlocks);
  // The file's auxiliary bytes, then erased bytes, then the check word three times.
  const std::size_t fileAux = std::min(auxBytes, kCheckWordCopiesAt);
  Check(std::memcmp(aux.data(), data + kMinFirmwareFileBytes, fileAux) == 0);
  if (auxBytes < kCheckWordCopiesAt) Check(AllErased(aux.data() + auxBytes, aux.data() + kCheckWordCopiesAt));
  for (std::size_t i = kCheckWordCopiesAt; i < kAuxBytes; i += 2) {
    Check(aux[i] == (images.CheckWord & 0xFF) && aux[i + 1] == images.CheckWord >> 8);
  }
  return 0;
}

}  // namespace zelor::fuzz

ZELOR_FUZZ_ENTRY(zelor::fuzz::FirmwareFileInput)
