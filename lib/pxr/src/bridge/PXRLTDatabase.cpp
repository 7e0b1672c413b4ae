/* The bridge's plate-database requests: the database read into a `database` element, and its
 * edit, removals first, then additions, each checked against a fresh read of the sensor's list. */
#include <string.h>

#include "Lumatrek_Internal.h"
#include "PXRLT_Requests.h"
#include "PXR_Internal.h"

extern "C" {

namespace {

// A plate has at most 10 characters; the working copy holds one more byte for its end.
const size_t kPlateMax = 10;
const int32_t kEmptyDatabase = -4;

// A new database element filled from the sensor; null without memory. *pi32Result is the
// enumeration's result.
PXRMsgElement *readDatabase(LumatrekHandle *psCommand, int32_t *pi32Result)
{
    PXRMsgElement *psDatabase = PXRMsgElementCreate("database");
    *pi32Result = psDatabase ? LumatrekEnumDataBase(psCommand, &PXRLT_databasePlateCallback, psDatabase)
                             : LUMATREK_ERROR_NO_MEMORY;
    return psDatabase;
}

// The working copy of a sensor read: plates of a failed read are dropped.
PXRMsgElement *workingCopy(LumatrekHandle *psCommand)
{
    int32_t i32Result = 0;
    PXRMsgElement *psDatabase = readDatabase(psCommand, &i32Result);
    if (psDatabase && i32Result != 0)
        while (PXRMsgElement *psPlate = PXRMsgElementFirstChild(psDatabase, nullptr))
            PXRMsgElementDestroy(psPlate);
    return psDatabase;
}

void upperCase(char *pszText)
{
    for (; *pszText; pszText++)
        if (*pszText >= 'a' && *pszText <= 'z')
            *pszText = (char)(*pszText - 'a' + 'A');
}

// The value of a delPlate or addPlate, upper-cased; 0 when it is missing or too long.
int plateValue(PXRMsgElement *psEdit, char aszValue[kPlateMax + 1])
{
    const char *pcszValue = PXRMsgElementAttributeValue(psEdit, "value");
    if (!pcszValue || strlen(pcszValue) > kPlateMax)
        return 0;
    strcpy(aszValue, pcszValue);
    upperCase(aszValue);
    return 1;
}

// Every value is checked before the sensor's list is touched.
int valuesValid(PXRMsgElement *psRoot)
{
    char aszValue[kPlateMax + 1];
    for (PXRMsgElement *psEdit = PXRMsgElementFirstChild(psRoot, nullptr); psEdit;
         psEdit = PXRMsgElementNextChild(psRoot, psEdit, nullptr)) {
        const char *pcszName = PXRMsgElementName(psEdit);
        if ((strcmp(pcszName, "delPlate") == 0 || strcmp(pcszName, "addPlate") == 0) && !plateValue(psEdit, aszValue))
            return 0;
    }
    return 1;
}

// 0 when the edit failed, with the answer set.
int removePlates(PXR *psPxr, PXRMsgElement *psRoot, PXRMsgElement *psDatabase, PXRMsg *psAnswer)
{
    LumatrekHandle *psCommand = psPxr->psBridge->psCommandHandle;
    char aszValue[kPlateMax + 1];
    for (PXRMsgElement *psEdit = PXRMsgElementFirstChild(psRoot, "delPlate"); psEdit;
         psEdit = PXRMsgElementNextChild(psRoot, psEdit, "delPlate")) {
        plateValue(psEdit, aszValue);
        if (!PXRLT_databaseHasPlate(psDatabase, aszValue)) {
            PXR_trace(psPxr, PXR_MODULE_LEGACY, PXR_LEVEL_WARNING, "delPlate : '%s' is not in sensor database",
                      aszValue);
            continue;
        }
        if (LumatrekRemoveFromDataBase(psCommand, aszValue) != 0) {
            PXR_trace(psPxr, PXR_MODULE_LEGACY, PXR_LEVEL_ERROR, "delPlate failed");
            PXRLT_setErrorAnswer(psAnswer, psCommand);
            return 0;
        }
    }
    return 1;
}

int addPlates(PXR *psPxr, PXRMsgElement *psRoot, PXRMsgElement *psDatabase, PXRMsg *psAnswer)
{
    LumatrekHandle *psCommand = psPxr->psBridge->psCommandHandle;
    char aszValue[kPlateMax + 1];
    for (PXRMsgElement *psEdit = PXRMsgElementFirstChild(psRoot, "addPlate"); psEdit;
         psEdit = PXRMsgElementNextChild(psRoot, psEdit, "addPlate")) {
        plateValue(psEdit, aszValue);
        if (PXRLT_databaseHasPlate(psDatabase, aszValue)) {
            PXR_trace(psPxr, PXR_MODULE_LEGACY, PXR_LEVEL_WARNING, "addPlate : '%s' already in sensor database",
                      aszValue);
            continue;
        }
        if (LumatrekAddToDataBase(psCommand, aszValue) != 0) {
            PXR_trace(psPxr, PXR_MODULE_LEGACY, PXR_LEVEL_ERROR, "addPlate failed");
            PXRLT_setErrorAnswer(psAnswer, psCommand);
            return 0;
        }
        PXRLT_databasePlateCallback(psCommand, 0, aszValue, psDatabase);
    }
    return 1;
}

int editDatabase(PXR *psPxr, PXRMsgElement *psRoot, PXRMsg *psAnswer)
{
    LumatrekHandle *psCommand = psPxr->psBridge->psCommandHandle;
    PXRMsgElement *psDatabase = workingCopy(psCommand);
    int bDone = psDatabase && removePlates(psPxr, psRoot, psDatabase, psAnswer);
    if (psDatabase)
        PXRMsgElementDestroy(psDatabase);
    if (!bDone)
        return 0;
    psDatabase = workingCopy(psCommand);
    bDone = psDatabase && addPlates(psPxr, psRoot, psDatabase, psAnswer);
    if (psDatabase)
        PXRMsgElementDestroy(psDatabase);
    return bDone;
}

} // namespace

int PXRLT_databasePlateCallback(LumatrekHandle *, uint32_t, const char *pcszPlate, void *pUser)
{
    PXRMsgElement *psPlate = PXRMsgElementCreate("plate");
    if (!psPlate)
        return 0;
    if (PXRMsgElementSetAttribute(psPlate, "value", pcszPlate ? pcszPlate : "") &&
        PXRMsgElementAddChild(static_cast<PXRMsgElement *>(pUser), psPlate))
        return 1;
    PXRMsgElementDestroy(psPlate);
    return 0;
}

int PXRLT_databaseHasPlate(PXRMsgElement *psDatabase, const char *pcszPlate)
{
    for (PXRMsgElement *psPlate = PXRMsgElementFirstChild(psDatabase, "plate"); psPlate;
         psPlate = PXRMsgElementNextChild(psDatabase, psPlate, "plate")) {
        const char *pcszValue = PXRMsgElementAttributeValue(psPlate, "value");
        if (pcszValue && strcmp(pcszValue, pcszPlate) == 0)
            return 1;
    }
    return 0;
}

int PXRLT_sendMessage_getDatabase(PXR *psPxr, PXRMsg *, PXRMsg *psAnswer)
{
    LumatrekHandle *psCommand = psPxr->psBridge->psCommandHandle;
    int32_t i32Result = 0;
    PXRMsgElement *psDatabase = readDatabase(psCommand, &i32Result);
    if (!psDatabase)
        return PXRLT_setAnswer(psAnswer, 0, "Out of memory");
    if ((i32Result == 0 || i32Result == kEmptyDatabase) && PXRMsgSetChild(psAnswer, psDatabase))
        return 1;
    PXRMsgElementDestroy(psDatabase);
    return PXRLT_setErrorAnswer(psAnswer, psCommand);
}

int PXRLT_sendMessage_editDatabase(PXR *psPxr, PXRMsg *psRequest, PXRMsg *psAnswer)
{
    PXRMsgElement *psRoot = PXRMsgChild(psRequest);
    if (!valuesValid(psRoot))
        return PXRLT_setAnswer(psAnswer, 0, "Invalid plate value: missing or longer than 10 characters");
    if (!editDatabase(psPxr, psRoot, psAnswer))
        return PXRMsgChild(psAnswer) ? 0 : PXRLT_setAnswer(psAnswer, 0, "Out of memory");
    LumatrekHandle *psCommand = psPxr->psBridge->psCommandHandle;
    if (LumatrekUpdateDataBase(psCommand) != 0) {
        PXR_trace(psPxr, PXR_MODULE_LEGACY, PXR_LEVEL_ERROR, "LumatrekUpdateDataBase failed");
        return PXRLT_setErrorAnswer(psAnswer, psCommand);
    }
    return PXRLT_setAnswer(psAnswer, 1, nullptr);
}

} // extern "C"
