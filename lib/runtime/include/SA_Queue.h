/* Placeholder until this part of the runtime lands. */
#ifndef SA_QUEUE_H
#define SA_QUEUE_H
#include "SA_Core.h"
#endif
