/* The wire form's speed: export and import of a typical small message and of a
 * recognition with several large images, in MB/s beside a memcpy of the same bytes. */
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <vector>

#include "PXR.h"

namespace {

PXRMsgElement *AddChild(PXRMsgElement *psParent, const char *pcszName) {
  PXRMsgElement *psChild = PXRMsgElementCreate(pcszName);
  PXRMsgElementAddChild(psParent, psChild);
  return psChild;
}

/* A configuration answer of about 4 KB of XML: thirty sections of six attributes. */
PXRMsg *TypicalMessage() {
  PXRMsg *psMsg = PXRMsgCreate();
  PXRMsgElement *psRoot = PXRMsgElementCreate("answer");
  PXRMsgSetChild(psMsg, psRoot);
  PXRMsgElementSetAttribute(psRoot, "status", "OK");
  PXRMsgElement *psConfig = AddChild(psRoot, "config");
  for (int i = 0; i < 30; i++) {
    PXRMsgElement *psSection = AddChild(psConfig, "camera");
    PXRMsgElementSetAttributeInt(psSection, "id", i);
    PXRMsgElementSetAttribute(psSection, "mode", "automatic");
    PXRMsgElementSetAttributeFloat(psSection, "zoom", 1.5f * float(i));
    PXRMsgElementSetAttribute(psSection, "label", "North lane <entry> & exit");
    PXRMsgElementSetAttributeBool(psSection, "enabled", i % 2);
    PXRMsgElementSetAttributeUInt(psSection, "shutter", 2000u + unsigned(i));
  }
  return psMsg;
}

/* A recognition: a few attributes and four JPEG-sized images of 100 to 300 KB. */
PXRMsg *HeavyMessage() {
  PXRMsg *psMsg = PXRMsgCreate();
  PXRMsgElement *psRoot = PXRMsgElementCreate("anpr");
  PXRMsgSetChild(psMsg, psRoot);
  PXRMsgElement *psDecision = AddChild(psRoot, "decision");
  PXRMsgElementSetAttribute(psDecision, "plate", "AB123CD");
  PXRMsgElementSetAttribute(psDecision, "reliability", "97");
  const uint32_t au32Sizes[] = {300000, 220000, 150000, 100000};
  for (uint32_t u32Size : au32Sizes) {
    std::vector<uint8_t> vImage(u32Size);
    for (uint32_t i = 0; i < u32Size; i++)
      vImage[i] = uint8_t(i * 131 + (i >> 9));
    PXRMsgElementSetContentBinary(AddChild(psDecision, "jpeg"), vImage.data(), u32Size);
  }
  return psMsg;
}

std::string Exported(PXRMsg *psMsg) {
  std::string sBytes(2 << 20, '\0');
  sBytes.resize(PXRMsgExportToBinaryArray(psMsg, sBytes.data(), uint32_t(sBytes.size())));
  return sBytes;
}

/* The document of a freshly built message, the message gone. */
std::string Document(PXRMsg *(*rBuild)()) {
  PXR_initLibrary();
  PXRMsg *psSource = rBuild();
  std::string sBytes = Exported(psSource);
  PXRMsgDestroy(psSource);
  return sBytes;
}

void RunExport(benchmark::State &sState, PXRMsg *(*rBuild)()) {
  PXR_initLibrary();
  PXRMsg *psMsg = rBuild();
  std::vector<uint8_t> vTarget(Exported(psMsg).size());
  for (auto _ : sState) {
    uint32_t u32Written = PXRMsgExportToBinaryArray(psMsg, vTarget.data(), uint32_t(vTarget.size()));
    benchmark::DoNotOptimize(u32Written);
  }
  sState.SetBytesProcessed(int64_t(sState.iterations()) * int64_t(vTarget.size()));
  PXRMsgDestroy(psMsg);
}

void RunImport(benchmark::State &sState, PXRMsg *(*rBuild)()) {
  std::string sBytes = Document(rBuild);
  PXRMsg *psMsg = PXRMsgCreate();
  for (auto _ : sState) {
    int iRead = PXRMsgImportFromBinaryArray(psMsg, sBytes.data(), uint32_t(sBytes.size()));
    benchmark::DoNotOptimize(iRead);
  }
  sState.SetBytesProcessed(int64_t(sState.iterations()) * int64_t(sBytes.size()));
  PXRMsgDestroy(psMsg);
}

/* The floor: copying the document's bytes once. */
void RunMemcpy(benchmark::State &sState, PXRMsg *(*rBuild)()) {
  std::string sBytes = Document(rBuild);
  std::vector<char> vTarget(sBytes.size());
  for (auto _ : sState) {
    memcpy(vTarget.data(), sBytes.data(), sBytes.size());
    benchmark::DoNotOptimize(vTarget.data());
    benchmark::ClobberMemory();
  }
  sState.SetBytesProcessed(int64_t(sState.iterations()) * int64_t(sBytes.size()));
}

void BM_ExportTypical(benchmark::State &sState) { RunExport(sState, &TypicalMessage); }
void BM_ImportTypical(benchmark::State &sState) { RunImport(sState, &TypicalMessage); }
void BM_MemcpyTypical(benchmark::State &sState) { RunMemcpy(sState, &TypicalMessage); }
void BM_ExportHeavy(benchmark::State &sState) { RunExport(sState, &HeavyMessage); }
void BM_ImportHeavy(benchmark::State &sState) { RunImport(sState, &HeavyMessage); }
void BM_MemcpyHeavy(benchmark::State &sState) { RunMemcpy(sState, &HeavyMessage); }

}  // namespace

BENCHMARK(BM_ExportTypical);
BENCHMARK(BM_ImportTypical);
BENCHMARK(BM_MemcpyTypical);
BENCHMARK(BM_ExportHeavy);
BENCHMARK(BM_ImportHeavy);
BENCHMARK(BM_MemcpyHeavy);
