/* The runtime's whole interface: include this one header. */
#ifndef SA_H
#define SA_H

#include "SA_Core.h"
#include "SA_Queue.h"
#include "SA_Log.h"
#include "SA_Net.h"
#include "AES.h"
#include "SA_Debug.h"

#endif
