/* Placeholder until this part of the runtime lands. */
#ifndef SA_NET_H
#define SA_NET_H
#include "SA_Core.h"
#endif
