/* Placeholder until this part of the runtime lands. */
#ifndef AES_H
#define AES_H
#include "SA_Core.h"
#endif
