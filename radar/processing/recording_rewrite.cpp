#include "processing/recording_rewrite.h"

#include "dv/file.h"
#include "project/quv.h"
#include "scrivel/gssi.h"
#include "scrivel/pekko.h"
#include "scrivel/ramac.h"
#include "scrivel/seg2.h"
#include "scrivel/segy.h"

namespace quv {

namespace {

std::string partName(const std::string& path) {
  return path + ".part";
}

// Header and traces of a whole-file format into `tmp`.
bool writeWholeFile(const RawData& d, void* header, std::vector<RawTraceRecord>& traces,
                    const std::string& tmp, std::string& why) {
  // The writers take as many samples from each trace as the header gives:
  // a header that gives more than the traces hold is refused before writing.
  int perTrace = -1;
  if (d.format == kRawGssi) perTrace = static_cast<GssiFHdr*>(header)->NSamp;
  if (d.format == kRawSegy) perTrace = static_cast<SegyFHdr*>(header)->samples;
  if (perTrace >= 0 && perTrace != d.samples) {
    why = "the changed header gives " + std::to_string(perTrace) +
          " samples per trace, the recording's traces hold " + std::to_string(d.samples);
    return false;
  }
  auto openWrite = scrivel<PfnOpenFile>(SCRIVEL_OpenFileForWrite);
  int rc = SCRIVEL_ERR_CREATE;
  switch (d.format) {
    case kRawGssi:
      if (auto f = scrivel<PfnWriteGssiFHdr>(SCRIVEL_WriteGssiFHdr))
        rc = f(tmp.c_str(), static_cast<GssiFHdr*>(header));
      break;
    case kRawSeg2:
      if (auto f = scrivel<PfnWriteSeg2FHdr>(SCRIVEL_WriteSeg2FHdr))
        rc = f(tmp.c_str(), static_cast<Seg2FHdr*>(header));
      break;
    case kRawSegy:
      if (auto f = scrivel<PfnWriteSegyFHdr>(SCRIVEL_WriteSegyFHdr))
        rc = f(tmp.c_str(), static_cast<SegyFHdr*>(header));
      break;
  }
  if (rc < 0) {
    why = "the header could not be written";
    return false;
  }
  dv::File file;
  if (!openWrite || openWrite(tmp.c_str(), &file) < 0) {
    why = "the new file could not be opened for writing";
    return false;
  }
  auto writeGssi = scrivel<PfnWriteGssiTrace>(SCRIVEL_WriteGssiTrace);
  auto writeSeg2 = scrivel<PfnWriteSeg2Trace>(SCRIVEL_WriteSeg2Trace);
  auto writeSegy = scrivel<PfnWriteSegyTrace>(SCRIVEL_WriteSegyTrace);
  for (size_t i = 0; i < traces.size(); ++i) {
    RawTraceRecord& t = traces[i];
    float* s = t.samples.data();
    rc = SCRIVEL_ERR_CREATE;
    if (d.format == kRawGssi && writeGssi)
      rc = writeGssi(tmp.c_str(), &file, static_cast<GssiFHdr*>(header), int(i), t.mark, s);
    else if (d.format == kRawSeg2 && writeSeg2 && t.seg2)
      rc = writeSeg2(tmp.c_str(), &file, static_cast<Seg2FHdr*>(header), t.seg2.get(), int(i), s);
    else if (d.format == kRawSegy && writeSegy && t.segy)
      rc = writeSegy(tmp.c_str(), &file, static_cast<SegyFHdr*>(header), t.segy.get(), int(i), s);
    if (rc < 0) {
      file.close();
      why = "trace " + std::to_string(i + 1) + " could not be written";
      return false;
    }
  }
  file.close();
  return true;
}

}  // namespace

bool readRecordingTraces(const RawData& d, std::vector<RawTraceRecord>& traces, std::string& why) {
  traces.clear();
  auto open = scrivel<PfnOpenFile>(SCRIVEL_OpenFileForRead);
  dv::File file;
  if (!open || open(rawSamplesPath(d).c_str(), &file) != SCRIVEL_OK) {
    why = "the recording could not be opened for reading";
    return false;
  }
  std::vector<float> scratch(size_t(std::max(d.samples, 1)));
  traces.resize(size_t(std::max(d.traces, 0)));
  for (int i = 0; i < d.traces; ++i) {
    bool marked = false;
    if (readRawTrace(d, file, i, 1, scratch.data(), marked, &traces[size_t(i)]) < 0) {
      file.close();
      why = "trace " + std::to_string(i + 1) + " could not be read";
      traces.clear();
      return false;
    }
  }
  file.close();
  return true;
}

bool rewriteRecording(const RawData& d, void* header, std::vector<RawTraceRecord>& traces,
                      std::string& why) {
  const std::string& target = d.firstPath;
  const std::string tmp = partName(target);
  bool written = false;
  switch (d.format) {
    case kRawPekko:
      if (auto f = scrivel<PfnWritePekkoFHdr>(SCRIVEL_WritePekkoFHdr))
        written = f(tmp.c_str(), static_cast<PekkoFHdr*>(header)) >= 0;
      if (!written) why = "the header could not be written";
      break;
    case kRawRamac:
      if (auto f = scrivel<PfnWriteRamacFHdr>(SCRIVEL_WriteRamacFHdr))
        written = f(tmp.c_str(), static_cast<RamacFHdr*>(header)) >= 0;
      if (!written) why = "the header could not be written";
      break;
    case kRawGssi:
    case kRawSeg2:
    case kRawSegy:
      if (int(traces.size()) != d.traces) {
        why = "the traces of the recording were not read";
        break;
      }
      written = writeWholeFile(d, header, traces, tmp, why);
      break;
    default:
      why = "the recording's format is not known";
      break;
  }
  // The new header must describe the data as the item knows them: the same
  // number of traces of the same number of samples.
  RecordingShape shape;
  bool readBack = false;
  if (written) {
    readBack = readRecordingShape(d.format, tmp, shape);
    if (readBack && shape.traces == d.traces && shape.samples == d.samples &&
        dv::renameFile(tmp, target))
      return true;
    why = !readBack ? "the format's reader refuses the changed header"
                    : "the changed header gives " + std::to_string(shape.traces) + " traces of " +
                          std::to_string(shape.samples) + " samples, the recording holds " +
                          std::to_string(d.traces) + " of " + std::to_string(d.samples);
  }
  dv::removeFile(tmp);
  return false;
}

}  // namespace quv
