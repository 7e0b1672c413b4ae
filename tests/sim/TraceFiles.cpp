// The test sensor's trace files, handed out by getTraces.
#include "TraceFiles.h"

namespace fybsim {

FybSensor::Responder traceFilesResponder(TraceFiles traces) {
  return [traces = std::move(traces)](const WireMessage& request) -> std::optional<Reply> {
    if (request.rootName() != "getTraces") return std::nullopt;
    const std::string* file = request.root->attribute("file");
    if (file == nullptr) return traces.current;
    const auto found = traces.files.find(*file);
    return found != traces.files.end() ? found->second : Reply::failed("No such file : " + *file);
  };
}

}  // namespace fybsim
