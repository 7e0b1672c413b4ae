/* Placeholder until this part of the runtime lands. */
#ifndef SA_LOG_H
#define SA_LOG_H
#include "SA_Core.h"
#endif
