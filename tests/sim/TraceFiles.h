// The test sensor's trace files, handed out by getTraces: the current traces without a "file"
// attribute, an old file or a log by its name, and a failed answer for any file it does not hold.
#pragma once

#include <map>
#include <string>

#include "FybSensor.h"

namespace fybsim {

struct TraceFiles {
  Reply current = Reply::failed("No traces");
  std::map<std::string, Reply> files;  // by the request's "file" attribute
};

// Answers getTraces from the files; other requests go on to the sensor's standing replies.
FybSensor::Responder traceFilesResponder(TraceFiles traces);

}  // namespace fybsim
