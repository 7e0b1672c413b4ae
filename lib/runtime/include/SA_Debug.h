/* Placeholder until this part of the runtime lands. */
#ifndef SA_DEBUG_H
#define SA_DEBUG_H
#include "SA_Core.h"
#endif
