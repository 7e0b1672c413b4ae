// A dialog that readies itself each time the modal seam is about to run it, and may refuse the run.
#include "ZyModalPreparation.h"

ZyModalPreparation::~ZyModalPreparation() = default;
