/* The legacy library's handle record, its time constants, its table of texts and the
 * operations its sources share; nothing here leaves the library. */
#ifndef LUMATREK_INTERNAL_H
#define LUMATREK_INTERNAL_H

#include "Lumatrek.h"
#include "SA_Core.h"
#include "SA_Net.h"
#include "SA_Queue.h"

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

/* ==== the table of texts ==== */

/* Every text the library hands out or logs, in the table's order. */
#define LT_TEXT_LIST(X)                                                                          \
    X(FILE_NAME, "lumatrekdll.dll")                                                              \
    X(DEFAULT_LOG, "lumatrekdll.log")                                                            \
    X(EMPTY, "")                                                                                 \
    X(BAR, "|")                                                                                  \
    X(UNKNOWN, "Unknown")                                                                        \
    X(CRITICAL_STORED, "A critical error occured, waiting for destroy")                          \
    X(STOPPED, "Lumatrek stopped, waiting for destroy")                                          \
    X(UNKNOWN_STATUS, "Unknown status")                                                          \
    X(NO_MAC, "MAC address not set")                                                             \
    X(NO_OCR_BASE, "No OCR base set")                                                            \
    X(I2C_ERROR, "Hardware error (I2C link)")                                                    \
    X(UART_ERROR, "Hardware error (UART)")                                                       \
    X(NO_MEMORY, "Cannot allocate memory")                                                       \
    X(INVALID_ARGUMENT, "Invalid argument")                                                      \
    X(NO_DECOMPRESSION, "Video decompression not supported")                                     \
    X(TIMEOUT, "Timeout")                                                                        \
    X(FULL, "Full")                                                                              \
    X(EMPTY_LIST, "Empty")                                                                       \
    X(MUTEX_ERROR, "Cannot create error mutex")                                                  \
    X(MUTEX_STATE, "Cannot create state mutex")                                                  \
    X(MUTEX_TIME_SYNC, "Cannot create time synchronization mutex")                               \
    X(MUTEX_STREAM, "Cannot create stream mutex")                                                \
    X(MUTEX_STREAM_SOCKET, "Cannot create stream socket mutex")                                  \
    X(MUTEX_NET_CALLBACK, "Cannot create network callback mutex")                                \
    X(MUTEX_TIME_CALLBACK, "Cannot create time callback mutex")                                  \
    X(MUTEX_DISPLAY, "Cannot create display mutex")                                              \
    X(MUTEX_MM_RECOGNITION, "Cannot create MM recognition mutex")                                \
    X(MUTEX_MPEG, "Cannot create Mpeg mutex")                                                    \
    X(MUTEX_REMOTE_ANPR, "Cannot create remote ANPR mutex")                                      \
    X(MUTEX_REMOTE_DGPR, "Cannot create remote DGPR mutex")                                      \
    X(MUTEX_PORT, "Cannot create port connection mutex")                                         \
    X(MUTEX_FILE_WRITER, "Cannot create file writer mutex")                                      \
    X(MUTEX_DROP, "Cannot create drop mutex")                                                    \
    X(MUTEX_IO, "Cannot create IO mutex")                                                        \
    X(MUTEX_CAMERA_CONFIG, "Cannot create camera config mutex")                                  \
    X(MUTEX_FIRMWARE_DEBUG, "Cannot create firmware debug mutex")                                \
    X(MUTEX_STREAM_INFO, "Cannot create stream info mutex")                                      \
    X(MUTEX_SPEED_CALLBACK, "Cannot create speed callback mutex")                                \
    X(EVENT_STATE, "Cannot create event state")                                                  \
    X(COMMAND_QUEUE, "Cannot create command queue")                                              \
    X(TIME_COMMAND_QUEUE, "Cannot create time command queue")                                    \
    X(NET_COMMAND_QUEUE, "Cannot create network commmand queue")                                 \
    X(TIME_THREAD_CREATE, "Cannot create time synchronization thread")                           \
    X(COMMAND_THREAD_CREATE, "Cannot create command thread")                                     \
    X(COMMAND_QUEUE_WRITE, "Cannot write to command queue")                                      \
    X(COMMAND_THREAD_LATE, "Command thread did not terminate")                                   \
    X(TIME_THREAD_LATE, "Time thread did not terminate")                                         \
    X(INVALID_CONFIGURATION, "Invalid configuration detected")                                   \
    X(UNSUPPORTED_DEVICE, "Unsupported device")                                                  \
    X(NET_POOL, "Cannot create net pool")                                                        \
    X(NET_QUEUE, "Cannot create net queue")                                                      \
    X(DECOMPRESSION_THREAD_CREATE, "Cannot create decompression thread")                         \
    X(DECOMPRESSION_THREAD_LATE, "Decompression thread did not terminate")                       \
    X(NET_THREAD_CREATE, "Cannot create net thread")                                             \
    X(NET_COMMAND_THREAD_CREATE, "Cannot create net command thread")                             \
    X(NET_THREAD_LATE, "Net thread did not terminate")                                           \
    X(NET_COMMAND_THREAD_LATE, "Net command thread did not terminate")                           \
    X(CLOSING, "Lumatrek is closing")                                                            \
    X(STREAM_REQUIRED, "Stream must be created")                                                 \
    X(EVENT_CALLBACK_REQUIRED, "Event callback must be installed first")                         \
    X(CANNOT_SEND, "Cannot send command")                                                        \
    X(COMMAND_NACKED, "Command nacked")                                                          \
    X(COMMAND_NOT_SUPPORTED, "Command not supported")                                            \
    X(COMMAND_BUSY, "Command socket busy")                                                       \
    X(COMMAND_DISCONNECTED, "Command socket disconnected")                                       \
    X(STREAM_DISCONNECTED, "Stream socket disconnected")                                         \
    X(TIME_DISCONNECTED, "Time socket disconnected")                                             \
    X(COMMAND_INVALID_ARGUMENT, "Command invalid argument")                                      \
    X(COMMAND_INVALID_ANSWER, "Command invalid answer")                                          \
    X(COMMAND_RS232_LOCKED, "Command RS232 locked")                                              \
    X(COMMAND_RS232_NOT_LOCKED, "Command RS232 not locked")                                      \
    X(FLASH_CORRUPTED, "FLASH corrupted")                                                        \
    X(FILE_CORRUPTED, "FILE corrupted")                                                          \
    X(TOO_COLD, "Too cold, camera not started")                                                  \
    X(READ_ONLY, "Read-only device")                                                             \
    X(NOT_PROVIDED, "Information not provided")                                                  \
    X(PACKET_TOO_BIG, "Too big packet detected on socket")                                       \
    X(LINGER, "Unable to set socket linger")                                                     \
    X(NO_ADDRESS, "0.0.0.0")                                                                     \
    X(STATUS_ACK, "ACK")                                                                         \
    X(STATUS_NACK, "NACK")                                                                       \
    X(STATUS_DISCONNECTED, "DISCONNECTED")                                                       \
    X(STATUS_BUSY, "BUSY")                                                                       \
    X(STATUS_EMPTY, "EMPTY")                                                                     \
    X(STATUS_FULL, "FULL")                                                                       \
    X(STATUS_NOTSUPPORTED, "NOTSUPPORTED")                                                       \
    X(STATUS_INVALIDARGUMENT, "INVALIDARGUMENT")                                                 \
    X(STATUS_INVALIDANSWER, "INVALIDANSWER")                                                     \
    X(STATUS_RS232LOCKED, "RS232LOCKED")                                                         \
    X(STATUS_RS232NOTLOCKED, "RS232NOTLOCKED")                                                   \
    X(STATUS_TIMEOUT, "TIMEOUT")                                                                 \
    X(STATUS_FLASHCORRUPTED, "FLASHCORRUPTED")                                                   \
    X(STATUS_TOOCOLD, "TOOCOLD")                                                                 \
    X(STATUS_FILECORRUPTED, "FILECORRUPTED")                                                     \
    X(STATUS_READONLY, "READONLY")                                                               \
    X(STATUS_UNKNOWN, "UNKNOWN")                                                                 \
    X(FN_INIT, "LumatrekInit")                                                                   \
    X(FN_CREATE_COMMAND, "LumatrekCreateCommand")                                                \
    X(FN_CREATE_LIGHT_STREAM, "LumatrekCreateLightStream")                                       \
    X(FN_DESTROY, "LumatrekDestroy")                                                             \
    X(FN_GET_STATE, "LumatrekGetState")                                                          \
    X(FN_ERROR, "LumatrekError")                                                                 \
    X(FN_UPDATE_UNICAST, "LumatrekUpdateUnicastDiscoverAddresses")                               \
    X(FN_SET_COMMAND_MODE, "LumatrekSetCommandMode")                                             \
    X(FN_GET_STATUS_V2, "LumatrekGetStatusV2")                                                   \
    X(FN_REBOOT, "LumatrekReboot")                                                               \
    X(FN_SET_ZOOM, "LumatrekSetZoom")                                                            \
    X(FN_SET_IRIS, "LumatrekSetIris")                                                            \
    X(FN_SET_GAIN, "LumatrekSetGain")                                                            \
    X(FN_SET_SHUTTER, "LumatrekSetShutter")                                                      \
    X(FN_SET_FOCUS, "LumatrekSetFocus")                                                          \
    X(FN_SET_EXP_COMP, "LumatrekSetExpComp")                                                     \
    X(FN_SET_AUTOFOCUS_ON, "LumatrekSetAutofocusOn")                                             \
    X(FN_SET_AUTOFOCUS_OFF, "LumatrekSetAutofocusOff")                                           \
    X(FN_SET_DISPLAY, "LumatrekSetDisplay")                                                      \
    X(FN_SET_POWER, "LumatrekSetPower")                                                          \
    X(FN_SET_MANUAL_MODE, "LumatrekSetManualMode")                                               \
    X(FN_SET_SHUTTER_MODE, "LumatrekSetShutterMode")                                             \
    X(FN_SET_IR_CUT, "LumatrekSetIRCut")                                                         \
    X(FN_SAVE_FOCUS, "LumatrekSaveFocus")                                                        \
    X(FN_STORE, "LumatrekStore")                                                                 \
    X(FN_SET_MACRO_MODE, "LumatrekSetMacroMode")                                                 \
    X(FN_GET_FOCUS_VALUES, "LumatrekGetFocusValues")                                             \
    X(FN_SET_CAMERA_SYNCHRO, "LumatrekSetCameraSynchro")                                         \
    X(FN_SET_FLIP, "LumatrekSetFlip")                                                            \
    X(FN_SET_AE_RESPONSE_SPEED, "psszFunctionLumatrekSetAEResponseSpeed")                        \
    X(FN_SET_BRACKETING_CONFIG, "LumatrekSetBracketingConfig")                                   \
    X(FN_GET_BRACKETING_CONFIG, "LumatrekGetBracketingConfig")                                   \
    X(FN_SET_ECO_MODE, "LumatrekSetEcoMode")                                                     \
    X(FN_GET_LED_EXTERNAL_TRIGGER_CONFIG, "LumatrekGetLedExternalTriggerConfig")                 \
    X(FN_SET_LED_EXTERNAL_TRIGGER_CONFIG, "LumatrekSetLedExternalTriggerConfig")                 \
    X(FN_SWITCH_AND_LOCK_RS232, "LumatrekSwitchAndLockRS232")                                    \
    X(FN_UNLOCK_RS232, "LumatrekUnlockRS232")                                                    \
    X(FN_WRITE_RS232, "LumatrekWriteRS232")                                                      \
    X(FN_READ_RS232_SIZE, "LumatrekReadRS232Size")                                               \
    X(FN_READ_RS232_TERMINATOR, "LumatrekReadRS232Terminator")                                   \
    X(FN_SET_OUTPUT, "LumatrekSetOutput")                                                        \
    X(FN_GET_IO_STATE, "LumatrekGetIoState")                                                     \
    X(FN_SET_IO_MODE, "LumatrekSetIoMode")                                                       \
    X(FN_SET_OPEN_BARRIER, "LumatrekSetOpenBarrier")                                             \
    X(FN_ADD_TO_DATA_BASE, "LumatrekAddToDataBase")                                              \
    X(FN_REMOVE_FROM_DATA_BASE, "LumatrekRemoveFromDataBase")                                    \
    X(FN_UPDATE_DATA_BASE, "LumatrekUpdateDataBase")                                             \
    X(FN_ERASE_DATA_BASE, "LumatrekEraseDataBase")                                               \
    X(FN_GET_DATA_BASE_SIZE, "LumatrekGetDataBaseSize")                                          \
    X(FN_ENUM_DATA_BASE, "LumatrekEnumDataBase")                                                 \
    X(FN_GET_DATA_BASE_CONFIG, "LumatrekGetDataBaseConfig")                                      \
    X(FN_SET_DATA_BASE_CONFIG, "LumatrekSetDataBaseConfig")                                      \
    X(FN_GET_CONFIG, "LumatrekGetConfig")                                                        \
    X(FN_SET_MPEG_CONFIG_V2, "LumatrekSetMPEGConfigV2")                                          \
    X(FN_SET_ANPR_CONFIG_V2, "LumatrekSetANPRConfigV2")                                          \
    X(FN_SET_DGPR_CONFIG, "LumatrekSetDGPRConfig")                                               \
    X(FN_GET_REMOTE_OCR_SETTINGS, "LumatrekGetRemoteOcrSettings")                                \
    X(FN_SET_REMOTE_OCR_SETTINGS, "LumatrekSetRemoteOcrSettings")                                \
    X(FN_SET_REMOTE_LATE_STACK_CONFIG, "LumatrekSetRemoteLateStackConfig")                       \
    X(FN_GET_REMOTE_SPEED_PARAMS, "LumatrekGetRemoteSpeedParams")                                \
    X(FN_SET_REMOTE_SPEED_PARAMS, "LumatrekSetRemoteSpeedParams")                                \
    X(FN_GET_REMOTE_RECOGNITION_AREA_OF_INTEREST, "LumatrekGetRemoteRecognitionAreaOfInterest")  \
    X(FN_SET_REMOTE_RECOGNITION_AREA_OF_INTEREST, "LumatrekSetRemoteRecognitionAreaOfInterest")  \
    X(FN_SET_CONFIGURATION_FILE, "LumatrekSetConfigurationFile")                                 \
    X(FN_GET_ACTIVATION_CONFIG, "LumatrekGetActivationConfig")                                   \
    X(FN_SET_ACTIVATION_CONFIG, "LumatrekSetActivationConfig")                                   \
    X(FN_GET_BOARD_CONFIG, "LumatrekGetBoardConfig")                                             \
    X(FN_SET_BOARD_CONFIG, "LumatrekSetBoardConfig")                                             \
    X(FN_GET_CARD_CLASS, "LumatrekGetCardClass")                                                 \
    X(FN_SEND_COMMAND_KGV, "LumatrekSendCommandKGV")                                             \
    X(FN_SET_IP_CONFIG_V3, "LumatrekSetIPConfigV3")                                              \
    X(FN_SET_UNIQUE_NAME, "LumatrekSetUniqueName")                                               \
    X(FN_SUBSCRIBE_UNICAST_DISCOVER, "LumatrekSubscribeUnicastDiscover")                         \
    X(FN_UNSUBSCRIBE_UNICAST_DISCOVER, "LumatrekUnsubscribeUnicastDiscover")                     \
    X(FN_GET_SUBSCRIBED_UNICAST_DISCOVER, "LumatrekGetSubscribedUnicastDiscover")                \
    X(FN_GET_MASTER_PARAMETERS, "LumatrekGetMasterParameters")                                   \
    X(FN_SET_MASTER_PARAMETERS, "LumatrekSetMasterParameters")                                   \
    X(FN_RESET_MASTER_SLAVE_PARAMETERS, "LumatrekResetMasterSlaveParameters")                    \
    X(FN_GET_REMOTE_ENSLAVE_PARAMS, "LumatrekGetRemoteEnslaveParams")                            \
    X(FN_SET_REMOTE_ENSLAVE_PARAMS, "LumatrekSetRemoteEnslaveParams")                            \
    X(FN_SET_REMOTE_ENSLAVE_SWITCH_TYPE, "LumatrekSetRemoteEnslaveSwitchType")                   \
    X(FN_GET_CURRENT_LOG_INFO_V2, "LumatrekGetCurrentLogInfoV2")                                 \
    X(FN_GET_IMAGE, "LumatrekGetImage")                                                          \
    X(FN_GET_IMAGE_V2, "LumatrekGetImageV2")                                                     \
    X(FN_SET_STREAM_STATE, "LumatrekSetStreamState")                                             \
    X(FN_SEND_STREAM_COMMAND_KGV, "SendStreamCommandKGV")                                        \
    X(FN_GET_INTERNAL_STATUS, "LumatrekGetInternalStatus")                                       \
    X(FN_GET_INTERNAL_CONFIG, "LumatrekGetInternalConfig")                                       \
    X(FN_GET_INTERNAL_CAMERA_CONFIG, "LumatrekGetInternalCameraConfig")                          \
    X(FN_PROCESS_TIME_COMMANDS, "ProcessTimeCommands")                                           \
    X(FN_SEND_STREAM_COMMAND, "LumatrekSendStreamCommand")                                       \
    X(FN_SEND_TIME_COMMAND, "SendTimeCommand")                                                   \
    X(FN_REBOOT_ON_TIME_SOCKET, "RebootOnTimeSocket")                                            \
    X(THREAD_COMMAND, "CommandThread")                                                           \
    X(THREAD_NET, "NetThread")                                                                   \
    X(THREAD_RECEIVE, "ReceiveThread")                                                           \
    X(THREAD_TIME, "TimeThread")                                                                 \
    X(THREAD_NET_COMMAND, "NetCmdThread")                                                        \
    X(FN_RECEIVE_PACKET, "ReceivePacket")                                                        \
    X(FN_ADD_STREAM, "LumatrekAddStreamInternal")                                                \
    X(FN_ADD_CONFIG_CALLBACK, "LumatrekAddConfigCallback")                                       \
    X(FN_ADD_CONFIG_CALLBACK_EX, "LumatrekAddConfigCallbackEx")                                  \
    X(FN_ADD_EVENT_CALLBACK, "LumatrekAddEventCallback")                                         \
    X(FN_ADD_XPEG_CALLBACK, "LumatrekAddXpegCallback")                                           \
    X(FN_ADD_IO_CALLBACK, "LumatrekAddIoCallback")                                               \
    X(FN_ADD_SPEED_CALLBACK, "LumatrekAddSpeedCallback")                                         \
    X(FN_ADD_REMOTE_RECOGNITION, "LumatrekAddRemoteRecognition")                                 \
    X(FN_ADD_REMOTE_DG_RECOGNITION, "LumatrekAddRemoteDGRecognition")

typedef enum LT_TextId {
#define LT_TEXT_ID(name, text) LT_TEXT_##name,
    LT_TEXT_LIST(LT_TEXT_ID)
#undef LT_TEXT_ID
    LT_TEXT_COUNT
} LT_TextId;

/* The table's text of that entry; never null. */
const char *LT_text(LT_TextId eId);
/* The printed name of a command status ("ACK", "NACK"... "UNKNOWN" for any other value). */
const char *LT_statusName(int32_t i32Status);

/* ==== time constants ==== */

/* Every wait of the library in one record with its defaults; tests shorten it. */
typedef struct LT_Timing {
    uint32_t u32ConnectTimeoutMs;   /* each socket's connect */
    uint32_t u32PauseStepMs;        /* a pause is taken in steps that look at the running flag */
    uint32_t u32ReconnectPauseMs;   /* after a failed connect */
    uint32_t u32CommandRetryGapMs;  /* least time between two command connections */
    uint32_t u32CameraRetryMs;      /* before reading a configuration with no camera again */
    uint32_t u32ReadSliceMs;        /* header reads and queue polls, between looks at the flag */
    uint32_t u32TransferTimeoutMs;  /* body reads and every write */
    uint32_t u32SlowTransferMs;     /* commands the sensor takes long to apply */
    uint32_t u32TimeReplySlices;    /* read slices a time reply may take */
    uint32_t u32TimeSamplePauses;   /* pause steps between two clock samples */
    uint32_t u32CommandKeepAliveMs; /* idle command connection */
    uint32_t u32StreamKeepAliveMs;  /* stream connection */
    uint32_t u32LongJoinMs;         /* command, time and network threads at the end */
    uint32_t u32ShortJoinMs;        /* stream-command and dispatch threads at the end */
} LT_Timing;

/* The process-wide record, with the defaults until a test changes it. */
LT_Timing *LT_timing(void);
/* Puts the defaults back. */
void LT_resetTiming(void);

/* ==== little-endian fields of wire blocks ==== */

static inline uint16_t LT_getU16(const uint8_t *pu8Block, size_t szOffset)
{
    return (uint16_t)(pu8Block[szOffset] | (pu8Block[szOffset + 1] << 8));
}
static inline uint32_t LT_getU32(const uint8_t *pu8Block, size_t szOffset)
{
    return (uint32_t)pu8Block[szOffset] | ((uint32_t)pu8Block[szOffset + 1] << 8) |
           ((uint32_t)pu8Block[szOffset + 2] << 16) | ((uint32_t)pu8Block[szOffset + 3] << 24);
}
static inline void LT_putU16(uint8_t *pu8Block, size_t szOffset, uint16_t u16Value)
{
    pu8Block[szOffset] = (uint8_t)u16Value;
    pu8Block[szOffset + 1] = (uint8_t)(u16Value >> 8);
}
static inline void LT_putU32(uint8_t *pu8Block, size_t szOffset, uint32_t u32Value)
{
    LT_putU16(pu8Block, szOffset, (uint16_t)u32Value);
    LT_putU16(pu8Block, szOffset + 2, (uint16_t)(u32Value >> 16));
}
/* Copies a text of a wire field of u32FieldSize bytes into a record field of szSize bytes:
 * up to the field's zero or end, cut to fit, always terminated. */
void LT_copyText(char *pszDestination, size_t szSize, const uint8_t *pu8Field, uint32_t u32FieldSize);

/* ==== message header, requests, statuses ==== */

#define LT_HEADER_SIZE 8
/* A four-character code as the u32 whose little-endian bytes are the characters. */
#define LT_FOURCC(a, b, c, d) \
    ((uint32_t)(uint8_t)(a) | ((uint32_t)(uint8_t)(b) << 8) | ((uint32_t)(uint8_t)(c) << 16) | ((uint32_t)(uint8_t)(d) << 24))

/* Frames every message on the three connections: payload length, then the code. */
typedef struct LumatrekMessageHeader {
    uint32_t u32Length;
    uint32_t u32Code;
} LumatrekMessageHeader;

void LT_encodeHeader(const LumatrekMessageHeader *psHeader, uint8_t au8Bytes[LT_HEADER_SIZE]);
void LT_decodeHeader(const uint8_t au8Bytes[LT_HEADER_SIZE], LumatrekMessageHeader *psHeader);

/* Command statuses. */
#define LT_STATUS_ACK 0
#define LT_STATUS_NACK (-1)
#define LT_STATUS_DISCONNECTED (-2)
#define LT_STATUS_BUSY (-3)
#define LT_STATUS_EMPTY (-4)
#define LT_STATUS_FULL (-5)
#define LT_STATUS_NOTSUPPORTED (-6)
#define LT_STATUS_INVALIDARGUMENT (-7)
#define LT_STATUS_INVALIDANSWER (-8)
#define LT_STATUS_RS232LOCKED (-9)
#define LT_STATUS_RS232NOTLOCKED (-10)
#define LT_STATUS_TIMEOUT (-11)
#define LT_STATUS_CLOSING (-12)
#define LT_STATUS_FLASHCORRUPTED (-13)
#define LT_STATUS_TOOCOLD (-14)
#define LT_STATUS_FILECORRUPTED (-15)
#define LT_STATUS_READONLY (-16)

/* Work handed by a public function to one of the handle's channel threads; it lives on the
 * caller's stack. */
typedef struct LumatrekCommandRequest {
    uint32_t u32Command;
    uint32_t u32Argument;
    uint32_t u32WaitReply;
    uint32_t u32BusyOverride;
    const void *pPayload;
    uint32_t u32PayloadSize;
    int32_t i32Status; /* FULL until a channel takes it, then the command status */
    LumatrekErrorInfo *psError;
    void *pReply;
    uint32_t u32ReplySize;
    uint32_t au32Timing[6];
} LumatrekCommandRequest;

/* A request for the command with its payload and reply buffer: status FULL, waits for its
 * reply, everything else zero. */
void InitCommandRequest(LumatrekCommandRequest *psRequest, LumatrekErrorInfo *psError, uint32_t u32Command,
                        uint32_t u32Argument, const void *pPayload, uint32_t u32PayloadSize, void *pReply,
                        uint32_t u32ReplySize);
/* Answers every request waiting in the queue with the status, without waiting. */
void LT_answerWaitingRequests(SA_WaitQueueData psQueue, int32_t i32Status);

/* ==== the handle ==== */

/* The handle's mutexes, in their order of creation. */
typedef enum LT_MutexId {
    LT_MUTEX_ERROR,
    LT_MUTEX_STATE,
    LT_MUTEX_TIME_SYNC,
    LT_MUTEX_STREAM,
    LT_MUTEX_STREAM_SOCKET,
    LT_MUTEX_NET_CALLBACK,
    LT_MUTEX_TIME_CALLBACK,
    LT_MUTEX_DISPLAY,
    LT_MUTEX_MM_RECOGNITION,
    LT_MUTEX_MPEG,
    LT_MUTEX_REMOTE_ANPR,
    LT_MUTEX_REMOTE_DGPR,
    LT_MUTEX_PORT,
    LT_MUTEX_FILE_WRITER,
    LT_MUTEX_DROP,
    LT_MUTEX_IO,
    LT_MUTEX_CAMERA_CONFIG,
    LT_MUTEX_FIRMWARE_DEBUG,
    LT_MUTEX_CONFIG, /* the block cache and the configuration callbacks */
    LT_MUTEX_SPEED_CALLBACK,
    LT_MUTEX_COUNT
} LT_MutexId;

/* Creation flags. */
#define LT_CREATE_COMMAND 0
#define LT_CREATE_STREAM 1
#define LT_CREATE_TIME 2

#define LT_DEFAULT_COMMAND_PORT 11011
#define LT_DEFAULT_TIME_PORT 10000
#define LT_DEFAULT_STREAM_PORT 10001
#define LT_COMMAND_QUEUE_SIZE 64
#define LT_TIME_COMMAND_QUEUE_SIZE 4
#define LT_STREAM_MASK 0x1FFFFFFFu
#define LT_DATA_SLOTS 3
#define LT_VERSION_TEXT_SIZE 256

/* Sockets and conditions of SetConnectionState. */
#define LT_SOCKET_TIME 1
#define LT_SOCKET_STREAM 2
#define LT_SOCKET_COMMAND 3
#define LT_CONDITION_RS232_LOCKED 5
#define LT_CONDITION_TOO_COLD 6
#define LT_CONDITION_BUSY 7
#define LT_SOCKET_CONNECTED 2

/* One of the handle's threads: its record and what it runs. */
typedef struct LT_ThreadSlot {
    SA_Thread psThread;
    void (*rRoutine)(LumatrekHandle *psHandle);
    LumatrekHandle *psHandle;
} LT_ThreadSlot;

/* A block of a size the sensor decides. */
typedef struct LT_DataBlock {
    uint8_t *pu8Data;
    uint32_t u32Size;
} LT_DataBlock;

/* Bits of the first received-flag word, by block. */
#define LT_RECEIVED_VERSION_TEXT 0x1u
#define LT_RECEIVED_VERSION 0x2u
#define LT_RECEIVED_DESCRIPTION 0x4u
#define LT_RECEIVED_CONFIG 0x8u
#define LT_RECEIVED_BOARD 0x10u
#define LT_RECEIVED_MASTER_ADDRESSES 0x20u
#define LT_RECEIVED_CAMERA 0x40u
#define LT_RECEIVED_OCR 0x80u
#define LT_RECEIVED_MEASURES 0x100u
#define LT_RECEIVED_KEPT_WORDS 0x200u
#define LT_RECEIVED_SPEED 0x800u
#define LT_RECEIVED_MASTER_PARAMETERS 0x1000u
#define LT_RECEIVED_SLAVE_PARAMETERS 0x2000u
#define LT_RECEIVED_LATE_STACK 0x8000u
#define LT_RECEIVED_KEPT_WORD 0x10000u
#define LT_RECEIVED_INPUTS 0x20000u
#define LT_RECEIVED_REMOTE_ENSLAVE 0x40000u
#define LT_RECEIVED_UNICAST 0x80000u
#define LT_RECEIVED_DATABASE 0x100000u
#define LT_RECEIVED_KEPT_TYPE 0x200000u
#define LT_RECEIVED_ACTIVATION 0x400000u
#define LT_RECEIVED_SIGNATURE_PICTURE 0x800000u
#define LT_RECEIVED_AREA 0x1000000u
#define LT_RECEIVED_LED 0x2000000u
#define LT_RECEIVED_KEPT_SHORTS 0x4000000u
#define LT_RECEIVED_LED_TRIGGER 0x8000000u
#define LT_RECEIVED_EXTERNAL 0x10000000u
#define LT_RECEIVED_BRACKETING 0x20000000u
#define LT_RECEIVED_ECO 0x40000000u
#define LT_RECEIVED_FOCUS 0x80000000u
/* Bits of the second word. */
#define LT_RECEIVED_REBOOTS 0x1u
#define LT_RECEIVED_RELIABILITY 0x2u
#define LT_RECEIVED_PLATE_END 0x4u
#define LT_RECEIVED_END_OF_CONFIG 0x80000000u

struct LumatrekHandle {
    /* Lifecycle: both atomic. The references are the owner's and one per live thread; the
     * last one to let go frees the handle, so a late thread never runs on freed memory. */
    int32_t i32Running;
    int32_t i32References;

    /* Connection parameters, under the port mutex. */
    char *pszHost;
    uint32_t u32CommandPort;
    uint32_t u32TimePort;
    uint32_t u32StreamPort;
    uint32_t u32StreamPortOverride;
    uint32_t u32StreamPortInUse; /* shown in log lines */
    int32_t bHasStream;
    int32_t bHasTime;
    int32_t bCommandOnly;
    uint32_t u32RunState;

    /* Errors, under the error mutex. */
    LumatrekErrorInfo sLastError;
    LumatrekErrorCallback rErrorCallback;
    void *pErrorUser;

    /* Connection state, under the state mutex. */
    LumatrekConnectionState sState;
    int32_t bBusy;
    int32_t bRs232Locked;
    int32_t bTooCold;
    SA_Event hReadyEvent; /* manual reset: set exactly while the global state is ready */
    LumatrekConnectionStateCallback rStateCallback;
    void *pStateUser;

    /* Command area. The wait time-out, the flags and the count of callers inside a queue
     * hand-off are atomic; the reconnection counter is under the port mutex. */
    SA_WaitQueueData psCommandQueue;
    SA_WaitQueueData psTimeCommandQueue;
    SA_WaitQueueData psStreamCommandQueue; /* made by the stream set-up */
    LT_ThreadSlot sCommandThread;
    uint32_t u32CommandTimeoutMs;
    int32_t bCommandMode;
    int32_t i32Submitting;
    int32_t bChannelConnected;
    int32_t bCommandReconnect;
    int32_t bAddressChanged;
    int32_t bTimeReconnect;
    int32_t bBusyByReply; /* the busy flag came from a reply, not from the status word */
    uint32_t u32Reconnections;

    /* Time area; the reference and the monotonic result under the time synchronisation mutex. */
    LT_ThreadSlot sTimeThread;
    uint32_t u32ReferenceSendTick;
    uint32_t u32ReferenceSensorTime;
    uint32_t u32ReferenceRoundTrip;
    int32_t bClockValid;
    int32_t bTimeSync; /* 0 for a recorder, which keeps no clock */
    int32_t bMonotonicUsed;
    uint32_t u32LastMonotonic;

    /* Stream area. */
    uint32_t u32StreamOption;
    uint32_t u32StreamEnabled;
    uint32_t u32StreamMask;
    struct LT_Stream *psStream; /* made by the stream set-up, freed with the handle */

    /* Block cache, under the configuration mutex (the camera under its own). */
    LumatrekSensorVersion sVersion;
    LumatrekConfig sConfig;
    LumatrekCameraConfig sCamera;
    LumatrekBoardConfig sBoard;
    LumatrekActivationConfig sActivation;
    uint32_t u32Status;
    uint32_t u32DiscoverCount;
    LumatrekDiscoverAddress *psDiscover;
    LT_DataBlock asData[LT_DATA_SLOTS];
    uint32_t au32Received[2]; /* the first word is the cache-valid mask of the blocks held */
    uint32_t u32MaxLedCurrent;
    char aszVersionText[LT_VERSION_TEXT_SIZE + 1];
    uint32_t u32RebootCount;
    uint8_t au8Mac[6];
    uint32_t u32CardClass;
    char aszUniqueName[32];
    LumatrekMasterAddresses sMasterAddresses;
    LumatrekSensorDescription sDescription;
    uint32_t u32MaxZoom;
    uint32_t u32LedCard;
    uint32_t u32SaveCameraOnDisconnect;
    int32_t bResetFrameCounters; /* set when the stream's frame rate changed */
    LumatrekOcrSettings sOcr;
    LumatrekSpeedParams sSpeed;
    LumatrekMasterParameters sMasterParameters;
    LumatrekLateStackConfig sLateStack;
    LumatrekRemoteEnslaveParams sRemoteEnslave;
    LumatrekDataBaseConfig sDataBase;
    LumatrekAreaOfInterest sArea;
    LumatrekLedExternalTriggerConfig sLedTrigger;
    uint8_t au8IoState[8];
    uint32_t au32Bracketing[2];
    uint32_t u32EcoMode;

    /* Counters, under the drop mutex. */
    uint32_t u32Disconnections;
    uint32_t u32Drops;

    SA_Mutex ahMutex[LT_MUTEX_COUNT];
};

/* 1 while the handle runs. */
int LT_isRunning(LumatrekHandle *psHandle);
/* Waits the time in pause steps; 1 when the handle still runs afterwards. */
int LT_pause(LumatrekHandle *psHandle, uint32_t u32Ms);
void LT_lock(LumatrekHandle *psHandle, LT_MutexId eMutex);
void LT_unlock(LumatrekHandle *psHandle, LT_MutexId eMutex);
/* Protocol version of the version record at least major.minor. */
int LT_protocolAtLeast(const LumatrekHandle *psHandle, int16_t i16Major, int16_t i16Minor);

/* Library reference: the first start installs the handlers, LumatrekRelease gives it back.
 * A given record is overwritten with a cleared one named "LumatrekInit". */
int LumatrekInit(LumatrekErrorInfo *psError);
void LumatrekRelease(void);
/* Number of library references held. */
int32_t LT_libraryReferences(void);

/* Creation with the flags above, and the whole teardown of a handle, built or half built. */
LumatrekHandle *LumatrekCreateInternal(const char *pcszConnection, uint32_t u32Flags,
                                       LumatrekConnectionStateCallback rState, void *pStateUser,
                                       LumatrekErrorCallback rError, void *pErrorUser, LumatrekErrorInfo *psError);
void LumatrekDestroyInternal(LumatrekHandle *psHandle);
/* Reads "host[:command,stream,time]" into the handle's host and ports; 0 without memory. */
int ParseAddress(LumatrekHandle *psHandle, const char *pcszConnection);

/* A reference on the handle: the handle is freed when the last is given back. A caller that
 * waits on one of the handle's queues holds one, so that the queue outlives its wait. */
void LT_retain(LumatrekHandle *psHandle);
void LT_release(LumatrekHandle *psHandle);
/* Hands the request to the queue's thread and waits, holding a reference; the queue's
 * result (0 replied, 1 time-out, -1 refused). */
int LT_submitRequest(LumatrekHandle *psHandle, SA_WaitQueueData psQueue, LumatrekCommandRequest *psRequest,
                     uint32_t u32TimeoutMs);

/* Starts the routine on its own thread with a reference on the handle; 1, or 0 when the
 * thread could not be made. The routine returns when the handle stops running. */
int LT_startThread(LumatrekHandle *psHandle, LT_ThreadSlot *psSlot, void (*rRoutine)(LumatrekHandle *),
                   int32_t i32Priority, const char *pcszName);
/* Waits up to the limit for the slot's thread; a late one is reported with the text
 * (critical) and forgotten. 1 when it ended in time or there was none. */
int LT_joinThread(LumatrekHandle *psHandle, LT_ThreadSlot *psSlot, uint32_t u32LimitMs, LT_TextId eLateText,
                  LumatrekErrorInfo *psError);

/* ==== errors ==== */

/* A cleared record of that function and type. */
void LT_initError(LumatrekErrorInfo *psError, const char *pcszFunction, int32_t i32Type);
/* Fills code, text and critical. */
void LT_setError(LumatrekErrorInfo *psError, int32_t i32Code, LT_TextId eText, int32_t bCritical);
/* Logs, calls the error callback, stores or stops, then clears the caller's record. */
void LumatrekError(LumatrekHandle *psHandle, LumatrekErrorInfo *psError);
void ReportError(LumatrekHandle *psHandle, const char *pcszFunction, int32_t i32Type, int32_t i32Code,
                 const char *pcszText, int32_t bCritical);
/* 1 when the handle may be used; otherwise the record holds why. */
int CheckHandle(LumatrekHandle *psHandle, LumatrekErrorInfo *psError);
/* The opening of every public function: a fresh record of that function, then the check,
 * whose failure is reported. 1 when the call may go on. */
int LT_enterCall(LumatrekHandle *psHandle, LumatrekErrorInfo *psError, LT_TextId eFunction);
/* A dated log line "function: host,command port,stream port: " and the text. */
void LT_log(LumatrekHandle *psHandle, const char *pcszFunction, const char *pcszFormat, ...)
    __attribute__((format(printf, 3, 4)));

/* ==== connection state ==== */

void SetConnectionState(LumatrekHandle *psHandle, uint32_t u32Which, uint32_t u32Value);
/* Everything not connected, conditions cleared, and the callback called whatever changed. */
void LT_resetConnectionState(LumatrekHandle *psHandle);
/* 0 ready, -21 time-out, -7 wait error, -20 null handle. */
int32_t WaitReady(LumatrekHandle *psHandle, uint32_t u32TimeoutMs);

/* ==== threads and stream of the handle ==== */

void CmdThread(LumatrekHandle *psHandle);
void TimeThread(LumatrekHandle *psHandle);
int LumatrekAddStreamInternal(LumatrekHandle *psHandle, uint32_t u32StreamOption, LumatrekErrorInfo *psError);
void LumatrekCancelStreamInternal(LumatrekHandle *psHandle, LumatrekErrorInfo *psError);

/* ==== configuration records and converters ==== */

/* Wire sizes of the configuration forms and of the fixed blocks the converters read. */
#define LT_WIRE_ANPR_CONFIG 468
#define LT_WIRE_DGPR_CONFIG 136
#define LT_WIRE_SIGNATURE_CONFIG 468
#define LT_WIRE_VIDEO_CONFIG 112
#define LT_WIRE_VERSION 16
#define LT_WIRE_BOARD 16
#define LT_WIRE_CAMERA 48
#define LT_WIRE_MPEG 20
#define LT_WIRE_OCR 48
#define LT_WIRE_MEASURES 12
#define LT_WIRE_LATE_STACK 6
#define LT_WIRE_UNICAST_ENTRY 28
#define LT_WIRE_DATABASE 13
#define LT_WIRE_SPEED 12
#define LT_WIRE_KEPT_TYPE 28
#define LT_WIRE_AREA 20
#define LT_WIRE_LED 24
#define LT_WIRE_KEPT_SHORTS 6
#define LT_WIRE_MASTER_ADDRESSES 56
#define LT_WIRE_KEPT_WORDS 12
#define LT_WIRE_ACTIVATION 5
#define LT_WIRE_MASTER_PARAMETERS 25
#define LT_WIRE_SLAVE_PARAMETERS 12
#define LT_WIRE_KEPT_WORD 4
#define LT_WIRE_REMOTE_ENSLAVE 18
#define LT_WIRE_SIGNATURE_PICTURE 16
#define LT_WIRE_LED_TRIGGER 20

#define LT_VIDEO_CODE 0xAAADu

/* The values the camera converter takes beside the camera block. */
typedef struct LT_CameraExtra {
    uint32_t u32SynchroMode;
    uint32_t u32Flip;
    uint32_t u32AeResponseSpeed;
    uint32_t u32BoardFlag;
    uint32_t u32BoardId;
} LT_CameraExtra;

/* Each converter reads a wire block of at least its size and returns 1; a shorter block
 * returns 0 and leaves the record as it was. */
int ConvertAnprConfig(LumatrekHandle *psHandle, LumatrekConfig *psRecord, uint32_t *pu32LedLimit,
                      const uint8_t *pu8Wire, uint32_t u32WireSize);
int ConvertDgprConfig(LumatrekHandle *psHandle, LumatrekConfig *psRecord, uint32_t *pu32LedLimit,
                      const uint8_t *pu8Wire, uint32_t u32WireSize);
int ConvertSignatureConfig(LumatrekHandle *psHandle, LumatrekConfig *psRecord, uint32_t *pu32LedLimit,
                           const uint8_t *pu8Wire, uint32_t u32WireSize);
int ConvertVideoConfig(uint32_t u32WireCode, LumatrekConfig *psRecord, uint32_t *pu32LedLimit,
                       const uint8_t *pu8Wire, uint32_t u32WireSize);
int ConvertVersionRecord(LumatrekSensorVersion *psRecord, const uint8_t *pu8Wire, uint32_t u32WireSize);
int32_t SensorTypeFromCode(uint32_t u32Code);
int ConvertBoardConfig(LumatrekHandle *psHandle, LumatrekBoardConfig *psRecord, const uint8_t *pu8Wire,
                       uint32_t u32WireSize);
void BoardConfigToWire(LumatrekHandle *psHandle, uint8_t au8Wire[LT_WIRE_BOARD], const LumatrekBoardConfig *psRecord);
/* The camera block (48 bytes) and the extra values are each optional. */
int ConvertCameraConfig(LumatrekHandle *psHandle, LumatrekCameraConfig *psRecord, const uint8_t *pu8Wire,
                        uint32_t u32WireSize, const LT_CameraExtra *psExtra);
void MpegConfigToWire(LumatrekHandle *psHandle, uint8_t au8Wire[LT_WIRE_MPEG], const LumatrekMpegConfig *psRecord);

int ConvertOcrSettings(LumatrekOcrSettings *psRecord, const uint8_t *pu8Wire, uint32_t u32WireSize);
int ConvertMeasures(LumatrekMeasures *psRecord, const uint8_t *pu8Wire, uint32_t u32WireSize);
int ConvertLateStackConfig(LumatrekLateStackConfig *psRecord, const uint8_t *pu8Wire, uint32_t u32WireSize);
int ConvertDataBaseConfig(LumatrekDataBaseConfig *psRecord, const uint8_t *pu8Wire, uint32_t u32WireSize);
int ConvertSpeedParams(LumatrekHandle *psHandle, LumatrekSpeedParams *psRecord, const uint8_t *pu8Wire,
                       uint32_t u32WireSize);
int ConvertKeptTypeRecord(LumatrekKeptTypeRecord *psRecord, const uint8_t *pu8Wire, uint32_t u32WireSize);
int ConvertAreaOfInterest(LumatrekAreaOfInterest *psRecord, const uint8_t *pu8Wire, uint32_t u32WireSize);
int ConvertLedRecord(LumatrekLedRecord *psRecord, const uint8_t *pu8Wire, uint32_t u32WireSize);
int ConvertKeptShorts(LumatrekKeptShorts *psRecord, const uint8_t *pu8Wire, uint32_t u32WireSize);
int ConvertMasterAddresses(LumatrekMasterAddresses *psRecord, const uint8_t *pu8Wire, uint32_t u32WireSize);
int ConvertKeptWords(LumatrekKeptWords *psRecord, const uint8_t *pu8Wire, uint32_t u32WireSize);
int ConvertActivationConfig(LumatrekActivationConfig *psRecord, const uint8_t *pu8Wire, uint32_t u32WireSize);
int ConvertMasterParameters(LumatrekMasterParameters *psRecord, const uint8_t *pu8Wire, uint32_t u32WireSize);
int ConvertSlaveParameters(LumatrekSlaveParameters *psRecord, const uint8_t *pu8Wire, uint32_t u32WireSize);
int ConvertKeptWord(uint32_t *pu32Record, const uint8_t *pu8Wire, uint32_t u32WireSize);
int ConvertRemoteEnslaveParams(LumatrekRemoteEnslaveParams *psRecord, const uint8_t *pu8Wire, uint32_t u32WireSize);
int ConvertSignaturePictureSize(LumatrekSignaturePictureSize *psRecord, const uint8_t *pu8Wire,
                                uint32_t u32WireSize);
int ConvertLedExternalTriggerConfig(LumatrekLedExternalTriggerConfig *psRecord, const uint8_t *pu8Wire,
                                    uint32_t u32WireSize);

/* 0, 2000 or 4000 by the camera word's LED board and colour. */
uint32_t LedCurrentLimit(uint32_t u32CameraWord);
/* Image event status of a sensor's answer: 0 taken, 2 too early, 3 too late, -1 other. */
int32_t ImageAnswerStatus(int32_t i32Answer);
/* Status-word bits by the sensor type of the configuration record. */
uint32_t TooColdBit(LumatrekHandle *psHandle, uint32_t u32Status);
uint32_t UnexpectedStatusBits(LumatrekHandle *psHandle, uint32_t u32Status);
/* Reads and drops the bytes; 1 when all were read. */
int SkipSocketBytes(SA_Socket psSocket, uint32_t u32Count);
/* Frees the kept text and keeps a copy of the new one (null: none, or no memory). */
void SaveString(char **ppszKept, const char *pcszNew);
/* Replaces the handle's subscriptions with the count entries of the wire list (u32WireSize
 * bytes); 1, or 0 with the record filled. The caller holds the configuration mutex. */
int LumatrekUpdateUnicastDiscoverAddresses(LumatrekHandle *psHandle, const uint8_t *pu8Wire, uint32_t u32Count,
                                           uint32_t u32WireSize, LumatrekErrorInfo *psError);

/* LED window and power limit for a shutter setting: 1 when the setting and the board class
 * are known. Each output may be null. */
/* 1 when the shutter table has the setting. */
int LT_shutterKnown(uint32_t u32Shutter);
int GetShutterTiming(LumatrekHandle *psHandle, uint32_t u32Shutter, uint32_t *pu32LedStart, uint32_t *pu32LedEnd,
                     uint32_t *pu32PowerLimit);

/* ==== the command connection ==== */

/* What an exchange reads from and writes to: a socket, or (with no socket) the bytes of a
 * buffer as the sensor's side, whose writes go nowhere. */
typedef struct LT_Link {
    SA_Socket psSocket;
    const uint8_t *pu8Input;
    uint32_t u32InputSize;
    uint32_t u32InputPosition;
} LT_Link;

/* Exactly the length, or the write of all of it: SA_OK, SA_TIMEOUT, SA_ERROR or a cancel value. */
int32_t LT_linkRead(LT_Link *psLink, void *pBuffer, uint32_t u32Length, uint32_t u32TimeoutMs);
int32_t LT_linkWrite(LT_Link *psLink, const void *pData, uint32_t u32Length, uint32_t u32TimeoutMs);
/* Reads and drops the bytes; 1 when all were read. */
int LT_linkSkip(LT_Link *psLink, uint32_t u32Count, uint32_t u32TimeoutMs);
int LT_readHeader(LT_Link *psLink, LumatrekMessageHeader *psHeader, uint32_t u32TimeoutMs);

/* Reply codes of the command connection. */
#define LT_REPLY_ACK 0xAAAAu
#define LT_REPLY_NACK 0xAAA9u
#define LT_REPLY_BUSY 0xAA9Fu
#define LT_REPLY_FULL 0xAAA5u
#define LT_REPLY_NOT_SUPPORTED 0xAAA8u
#define LT_REPLY_RS232_LOCKED 0xAAA7u
#define LT_REPLY_TIMEOUT 0xAAA6u
#define LT_REPLY_FLASH_CORRUPTED 0xAAA4u
#define LT_REPLY_TOO_COLD 0xAAA3u
#define LT_REPLY_REBOOTING 0x1111u
#define LT_CODE_KEEP_ALIVE 0xAAB2u
#define LT_CODE_STATUS 0xAAABu
#define LT_CODE_TIME 0xAAB1u

/* The reply code's status; 1 when the exchange may go on, 0 when the connection is lost. */
int DecodeReplyCode(LumatrekHandle *psHandle, const LumatrekMessageHeader *psHeader, uint32_t u32Expected,
                    int32_t *pi32Status);
/* The exchanges of the command connection: each sets the status (-2 until it knows better)
 * and returns 1 while the connection is usable, 0 when it is lost. */
int ExchangeCommand(LumatrekHandle *psHandle, LT_Link *psLink, uint32_t u32Code, const void *pPayload,
                    uint32_t u32Size, uint32_t u32TimeoutMs, int32_t *pi32Status);
int ExchangeCommandRead(LumatrekHandle *psHandle, LT_Link *psLink, uint32_t u32Code, const void *pPayload,
                        uint32_t u32Size, void *pReply, uint32_t u32ReplySize, uint32_t u32TimeoutMs,
                        int32_t *pi32Status);
/* *pu32Received gets the length of the data read. */
int ExchangeCommandReadUpTo(LumatrekHandle *psHandle, LT_Link *psLink, uint32_t u32Code, const void *pPayload,
                            uint32_t u32Size, void *pReply, uint32_t u32ReplySize, uint32_t u32TimeoutMs,
                            int32_t *pi32Status, uint32_t *pu32Received);
/* Reads the first u32Prefix bytes; *pu32Left gets what the caller still has to read. */
int ExchangeCommandReadPrefix(LumatrekHandle *psHandle, LT_Link *psLink, uint32_t u32Code, const void *pPayload,
                              uint32_t u32Size, void *pPrefix, uint32_t u32Prefix, uint32_t u32TimeoutMs,
                              int32_t *pi32Status, uint32_t *pu32Left);
int ExchangeCommandTwoReplies(LumatrekHandle *psHandle, LT_Link *psLink, uint32_t u32Code, const void *pPayload,
                              uint32_t u32Size, int32_t *pi32Status);
/* One message made of the pieces. */
typedef struct LT_Piece {
    const void *pData;
    uint32_t u32Size;
} LT_Piece;
int ExchangeCommandVector(LumatrekHandle *psHandle, LT_Link *psLink, uint32_t u32Code, const LT_Piece *psPieces,
                          uint32_t u32Count, uint32_t u32TimeoutMs, int32_t *pi32Status);
int SendHeader(LT_Link *psLink, uint32_t u32Code, uint32_t u32TimeoutMs);
int SendCommandNoReply(LT_Link *psLink, uint32_t u32Code, const void *pPayload, uint32_t u32Size,
                       uint32_t u32TimeoutMs);

/* Fills the record from a command status; the port names the connection. */
void CommandStatusToError(LumatrekErrorInfo *psError, int32_t i32Status, uint32_t u32Port);
/* Hands the request to the command thread and waits: 0, a negative status, or -1, -2, -5, -7. */
int32_t SubmitCommandRequest(LumatrekHandle *psHandle, LumatrekCommandRequest *psRequest);
int32_t SendCommand(LumatrekHandle *psHandle, LumatrekErrorInfo *psError, uint32_t u32Command, uint32_t u32Argument,
                    uint32_t u32WaitReply, uint32_t u32PayloadSize, const void *pPayload, uint32_t u32ReplySize,
                    void *pReply);
/* The same hand-off to the stream and the time connections' queues. */
int32_t LumatrekSendStreamCommand(LumatrekHandle *psHandle, LumatrekErrorInfo *psError, uint32_t u32Command,
                                  uint32_t u32Argument, uint32_t u32WaitReply, uint32_t u32PayloadSize,
                                  const void *pPayload, uint32_t u32ReplySize, void *pReply);
int32_t SendTimeCommand(LumatrekHandle *psHandle, LumatrekErrorInfo *psError, uint32_t u32Command,
                        uint32_t u32PayloadSize, const void *pPayload, uint32_t u32ReplySize, void *pReply);
int32_t CmdCancelCallback(SA_Socket psSocket, void *pHandle);
/* Raises the three reconnection requests (command, address, time). */
void LT_requestReconnection(LumatrekHandle *psHandle);

/* The start-up reads; the caller holds the configuration mutex. 1, or 0 to drop the connection. */
int LumatrekGetInternalStatus(LumatrekHandle *psHandle, LT_Link *psLink);
int LumatrekGetInternalConfig(LumatrekHandle *psHandle, LT_Link *psLink, LumatrekConfig *psConfig);
int LumatrekGetInternalCameraConfig(LumatrekHandle *psHandle, LT_Link *psLink, int bWithLedCheck,
                                    LumatrekErrorInfo *psError);

/* The reply record of the subscription list request: room (in) and count (out), and the list. */
typedef struct LT_UnicastReply {
    uint32_t u32Count;
    LumatrekDiscoverAddress *psList;
} LT_UnicastReply;

/* The sensor's answer to a request is at most this many entries. */
#define LT_MAX_DATABASE_ENTRIES 1000000u
#define LT_MAX_UNICAST_ENTRIES 4096u
#define LT_MAX_EXTERNAL_CONFIG (16u * 1024u * 1024u)
#define LT_DATABASE_ENTRY 11

/* ==== the command set ==== */

/* Command numbers of the requests. */
enum {
    LT_CMD_GET_STATUS = 1,
    LT_CMD_GET_CONFIG = 2,
    LT_CMD_SET_ZOOM = 10,
    LT_CMD_SET_IRIS = 11,
    LT_CMD_SET_GAIN = 12,
    LT_CMD_SET_SHUTTER = 13,
    LT_CMD_SET_FOCUS = 14,
    LT_CMD_SET_EXP_COMP = 15,
    LT_CMD_SET_AUTOFOCUS = 16,
    LT_CMD_SET_DISPLAY = 17,
    LT_CMD_SET_POWER = 18,
    LT_CMD_SET_MANUAL_MODE = 19,
    LT_CMD_SET_IR_CUT = 20,
    LT_CMD_SAVE_FOCUS = 21,
    LT_CMD_STORE = 22,
    LT_CMD_WRITE_RS232 = 25,
    LT_CMD_READ_RS232_SIZE = 26,
    LT_CMD_READ_RS232_TERMINATOR = 27,
    LT_CMD_SET_MPEG = 50,
    LT_CMD_SET_ANPR = 51,
    LT_CMD_REBOOT = 53,
    LT_CMD_SET_REMOTE_OCR = 60,
    LT_CMD_SET_OUTPUT = 61,
    LT_CMD_SET_BOARD = 62,
    LT_CMD_GET_BOARD = 63,
    LT_CMD_SET_MACRO_MODE = 66,
    LT_CMD_SET_IP = 68,
    LT_CMD_LOCK_RS232 = 70,
    LT_CMD_UNLOCK_RS232 = 71,
    LT_CMD_ADD_PLATE = 77,
    LT_CMD_REMOVE_PLATE = 78,
    LT_CMD_DATABASE_SIZE = 79,
    LT_CMD_ENUM_DATABASE = 80,
    LT_CMD_UPDATE_DATABASE = 81,
    LT_CMD_ERASE_DATABASE = 82,
    LT_CMD_GET_DATABASE_CONFIG = 83,
    LT_CMD_SET_DATABASE_CONFIG = 84,
    LT_CMD_GET_FOCUS_VALUES = 86,
    LT_CMD_GET_REMOTE_OCR = 94,
    LT_CMD_SET_UNIQUE_NAME = 97,
    LT_CMD_SET_REMOTE_ENSLAVE = 98,
    LT_CMD_GET_REMOTE_ENSLAVE = 99,
    LT_CMD_SUBSCRIBE_UNICAST = 102,
    LT_CMD_UNSUBSCRIBE_UNICAST = 103,
    LT_CMD_GET_UNICAST = 105,
    LT_CMD_SET_MASTER = 107,
    LT_CMD_GET_MASTER = 108,
    LT_CMD_OPEN_BARRIER = 109,
    LT_CMD_SET_CAMERA_SYNCHRO = 112,
    LT_CMD_RESET_MASTER_SLAVE = 116,
    LT_CMD_GET_CARD_CLASS = 117,
    LT_CMD_SET_LATE_STACK = 120,
    LT_CMD_GET_SPEED = 124,
    LT_CMD_SET_SPEED = 125,
    LT_CMD_SET_FLIP = 126,
    LT_CMD_SET_DGPR = 130,
    LT_CMD_GET_IO_STATE = 133,
    LT_CMD_SET_ACTIVATION = 134,
    LT_CMD_GET_ACTIVATION = 135,
    LT_CMD_SET_AREA = 140,
    LT_CMD_GET_AREA = 141,
    LT_CMD_GET_LED_TRIGGER = 142,
    LT_CMD_SET_LED_TRIGGER = 143,
    LT_CMD_SET_AE_SPEED = 150,
    LT_CMD_SET_CONFIGURATION_FILE = 151,
    LT_CMD_SET_BRACKETING = 156,
    LT_CMD_GET_BRACKETING = 157,
    LT_CMD_SET_ECO_MODE = 158,
    LT_CMD_SEND_KGV = 160,
    LT_CMD_STREAM_KGV = 161
};
/* Commands of the stream and time queues. */
#define LT_STREAM_CMD_LOG_INFO 1
#define LT_STREAM_CMD_IMAGE 2
#define LT_STREAM_CMD_STATE 3
#define LT_TIME_CMD_REBOOT 1

/* Guards the command thread applies before a command, in this order. */
#define LT_GUARD_COLD 0x1u
#define LT_GUARD_BUSY 0x2u
#define LT_GUARD_RS232 0x4u
#define LT_GUARD_UNLOCKED 0x8u

/* What a command needs of the sensor: a protocol version, one of some sensor types (or one of
 * the types that need no version), and a camera. */
typedef enum LT_Equipment {
    LT_NEEDS_NOTHING,
    LT_NEEDS_CAMERA,      /* camera word not 0 */
    LT_NEEDS_CAMERA_CODE, /* camera code not 0 */
    LT_NEEDS_IR_CUT,      /* one of the two cameras with an IR-cut filter */
    LT_NEEDS_LEDS,
    LT_NEEDS_BOARD        /* LED board id not 0 */
} LT_Equipment;

typedef struct LT_Availability {
    int16_t i16Major, i16Minor;
    uint32_t u32Types;        /* bits (1 << type); 0: any type */
    uint32_t u32TypesAnyVersion; /* types that pass without the version */
    LT_Equipment eEquipment;
} LT_Availability;

/* Runs a request on the command thread: sets its status, returns 0 when the connection is lost. */
typedef int (*LT_CommandRun)(LumatrekHandle *psHandle, LT_Link *psLink, LumatrekCommandRequest *psRequest);

typedef struct LT_Command {
    uint32_t u32Number;
    uint32_t u32Guards;
    LT_Availability sAvailable;
    LT_CommandRun rRun;
} LT_Command;

/* The command of that number, or null. */
const LT_Command *LT_findCommand(uint32_t u32Number);
int LT_isAvailable(LumatrekHandle *psHandle, const LT_Availability *psAvailability);
/* Guards and availability, then the command; the request's status says how it went. */
int LT_runRequest(LumatrekHandle *psHandle, LT_Link *psLink, LumatrekCommandRequest *psRequest);

/* The command tables of each area, each ended by a command of number 0. */
extern const LT_Command g_asCameraCommands[];
extern const LT_Command g_asSerialCommands[];
extern const LT_Command g_asDeviceCommands[];
extern const LT_Command g_asDataBaseCommands[];
extern const LT_Command g_asRecordCommands[];

/* A command's result that ends the command thread (after a failure it cannot go on from). */
#define LT_RUN_END (-1)

/* A cached block: where the handle keeps its record, under which mutex, with the bit that
 * says it is held, and its wire form each way (either converter may be null). */
typedef int (*LT_Convert)(LumatrekHandle *psHandle, void *pRecord, const uint8_t *pu8Wire, uint32_t u32WireSize);
typedef void (*LT_Pack)(LumatrekHandle *psHandle, uint8_t *pu8Wire, const void *pRecord);
typedef struct LT_StoredBlock {
    uint32_t u32WireCode;
    uint32_t u32WireSize;
    uint32_t u32Bit;
    size_t szOffset;
    uint32_t u32RecordSize;
    LT_MutexId eMutex;
    LT_Convert rConvert;
    LT_Pack rPack;
} LT_StoredBlock;

/* The handle's field at that offset. */
void *LT_field(LumatrekHandle *psHandle, size_t szOffset);

/* Command thread side; each returns as a command run does. */
/* Arguments that do not fit the command: status -7, no traffic. */
int LT_refuseArguments(LumatrekCommandRequest *psRequest);
/* The code with the request's payload (or none), acknowledged. */
int LT_runPlain(LumatrekHandle *psHandle, LT_Link *psLink, LumatrekCommandRequest *psRequest, uint32_t u32Code);
/* The request's u32 with the code; acknowledged, it is stored at the offset (and the bit set). */
int LT_runWordSet(LumatrekHandle *psHandle, LT_Link *psLink, LumatrekCommandRequest *psRequest, uint32_t u32Code,
                  size_t szOffset, LT_MutexId eMutex, uint32_t u32Bit);
/* The stored block once held, else read from the sensor, stored and given. */
int LT_runStoredRead(LumatrekHandle *psHandle, LT_Link *psLink, LumatrekCommandRequest *psRequest,
                     const LT_StoredBlock *psBlock);
/* The request's record packed and sent; acknowledged, it is stored and its bit set. */
int LT_runStoredWrite(LumatrekHandle *psHandle, LT_Link *psLink, LumatrekCommandRequest *psRequest,
                      const LT_StoredBlock *psBlock);
/* The request's u32 payload, or 0 when it has none of 4 bytes. */
int LT_payloadWord(const LumatrekCommandRequest *psRequest, uint32_t *pu32Value);
void LT_replyBytes(LumatrekCommandRequest *psRequest, const void *pData, uint32_t u32Size);

/* Public call side. */
/* Reports the record when it holds an error, then gives the result. */
int32_t LT_finishCall(LumatrekHandle *psHandle, LumatrekErrorInfo *psError, int32_t i32Result);
/* -20 "Invalid argument", reported; -1. */
int32_t LT_rejectArgument(LumatrekHandle *psHandle, LumatrekErrorInfo *psError);
/* The command with its payload and reply buffer, reported. */
int32_t LT_send(LumatrekHandle *psHandle, LumatrekErrorInfo *psError, uint32_t u32Command, const void *pPayload,
                uint32_t u32Size, void *pReply, uint32_t u32ReplySize);
/* A command with one u32 in the range. */
int32_t LT_sendWord(LumatrekHandle *psHandle, LT_TextId eFunction, uint32_t u32Command, uint32_t u32Value,
                    uint32_t u32Min, uint32_t u32Max);
/* A command with no payload and no reply. */
int32_t LT_sendPlain(LumatrekHandle *psHandle, LT_TextId eFunction, uint32_t u32Command);
/* On a handle without command connection (or one that cannot be used), answers the call:
 * the stored block when held, else -290; 1 when it answered, with the result. */
int LT_answerFromStore(LumatrekHandle *psHandle, LumatrekErrorInfo *psError, const LT_StoredBlock *psBlock,
                       void *pOut, int32_t *pi32Result);
/* A block read: the output checked, the stored block on a stream handle, else the command. */
int32_t LT_readBlock(LumatrekHandle *psHandle, LT_TextId eFunction, uint32_t u32Command,
                     const LT_StoredBlock *psBlock, void *pOut);
/* A record write: the record checked by the test (may be null), then the command. */
int32_t LT_writeRecord(LumatrekHandle *psHandle, LT_TextId eFunction, uint32_t u32Command, const void *pRecord,
                       uint32_t u32Size, int (*rValid)(const void *pRecord));

/* Camera code and LED board id of the camera word, and whether the sensor has LEDs. */
uint32_t LT_cameraCode(const LumatrekHandle *psHandle);
uint32_t LT_boardId(const LumatrekHandle *psHandle);
int LT_hasLeds(const LumatrekHandle *psHandle);
int LT_isIrCutCamera(const LumatrekHandle *psHandle);

/* Mask bits of the cache, under the configuration mutex. */
void LT_setHeld(LumatrekHandle *psHandle, uint32_t u32Bit);
void LT_clearHeld(LumatrekHandle *psHandle, uint32_t u32Bit);
int LT_isHeld(const LumatrekHandle *psHandle, uint32_t u32Bit);
/* 1 when the handle has a command connection. */
int LT_hasCommandChannel(const LumatrekHandle *psHandle);
/* The caller's value of a public call that could not start (null handle -7, stopped -2,
 * critical -1). */
int32_t LT_refusedCall(const LumatrekErrorInfo *psError);
/* The stream side's event callback is installed. */
int LT_hasEventCallback(LumatrekHandle *psHandle);

/* The sensor description from its 488-byte block, with the handle's address. */
#define LT_WIRE_DESCRIPTION 488
int ConvertSensorDescription(LumatrekHandle *psHandle, LumatrekSensorDescription *psRecord, const uint8_t *pu8Wire,
                             uint32_t u32WireSize);
#define LT_WIRE_RECORDER_CONFIG 32
int ConvertRecorderConfig(LumatrekConfig *psRecord, const uint8_t *pu8Wire, uint32_t u32WireSize);

/* ==== the clock ==== */

typedef struct LT_TimeSample {
    uint32_t u32SendTick;
    uint32_t u32SensorTime;
    uint32_t u32RoundTrip;
} LT_TimeSample;

#define LT_TIME_SAMPLES 5
uint32_t SensorTimeToLocal(LumatrekHandle *psHandle, uint32_t u32SensorTime);
uint32_t SensorTimeToLocalMonotonic(LumatrekHandle *psHandle, uint32_t u32SensorTime);
uint32_t LocalTimeToSensor(LumatrekHandle *psHandle, uint32_t u32LocalTick);
int QueryTime(LumatrekHandle *psHandle, SA_Socket psSocket, uint32_t *pu32SendTick, uint32_t *pu32SensorTime,
              uint32_t *pu32RoundTrip);
void SelectTimeSample(const LT_TimeSample asSamples[LT_TIME_SAMPLES], uint32_t *pu32Average, uint32_t *pu32Index);
/* The stored round trip one step nearer the target. */
uint32_t LT_stepRoundTrip(uint32_t u32Stored, uint32_t u32Target);
int ProcessTimeCommands(LumatrekHandle *psHandle, SA_Socket psSocket);
int32_t TimeCancelCallback(SA_Socket psSocket, void *pHandle);
int32_t RebootOnTimeSocket(LumatrekHandle *psHandle, LumatrekErrorInfo *psError);

/* ==== the stream ==== */

/* Stream sizes. Packets are capped far above any real one, so that a sensor cannot make the
 * client allocate without bound. */
#define LT_PACKET_ENTRIES 32
#define LT_STREAM_COMMAND_QUEUE_SIZE 64
#define LT_MAX_PACKET (16u * 1024u * 1024u)
#define LT_STREAM_RECEIVE_BUFFER (2u * 1024u * 1024u)
#define LT_STREAM_LINGER_S 30
#define LT_REFUSED_DUMP 512
#define LT_RECD_BLOCK 56
#define LT_RECD_GAP 12
#define LT_RECOGNITION_EXTENSION 96
#define LT_EXTENSION_MARK 0xFE0Au

/* Codes the client sends on the stream. */
#define LT_STREAM_START 0u
#define LT_STREAM_SET_MASK 2u
#define LT_STREAM_RUN_STATE 0xAADAu
#define LT_STREAM_GOODBYE 0x1112u
#define LT_STREAM_LOG_PUSHED 0x6669u
#define LT_STREAM_LOG_REQUEST 0xAAD3u

/* One packet read from the stream, handed from reception to dispatch. */
typedef struct LT_PacketEntry {
    uint32_t u32Size;
    uint32_t u32SensorTime;
    uint32_t u32PacketId;
    uint32_t u32Capacity;
    uint32_t u32Connection;
    uint8_t *pu8Data;
} LT_PacketEntry;

/* A callback slot. */
typedef struct LT_Slot {
    void (*rCallback)(void);
    void *pUser;
} LT_Slot;

/* The stream's own part of a handle. */
typedef struct LT_Stream {
    SA_Pool psPool;
    SA_Queue psNetQueue;
    LT_PacketEntry asEntries[LT_PACKET_ENTRIES];
    LT_ThreadSlot sNetThread;
    LT_ThreadSlot sNetCmdThread;
    LT_ThreadSlot sReceiveThread;

    /* The stream socket, under the stream socket mutex; opened and closed by the network thread. */
    SA_Socket psSocket;
    int32_t bAborted;
    uint32_t u32Connections;
    uint32_t u32LastKeepAlive;
    int32_t bKeepAliveSent;
    uint8_t au8Header[LT_HEADER_SIZE]; /* a header that came in pieces */
    uint32_t u32HeaderFill;

    /* Callbacks, each group under its mutex; none is called once the stream is closing. */
    int32_t bClosing;
    LT_Slot sConfig, sConfigEx; /* configuration mutex */
    LT_Slot sEvent;             /* stream mutex */
    LT_Slot sXpeg;              /* video mutex */
    LT_Slot sIo;                /* inputs mutex */
    LT_Slot sSpeed;             /* speed mutex */
    LT_Slot sRecognition;       /* recognition mutex */
    LT_Slot sDangerousGoods;    /* dangerous-goods mutex */

    /* Cache blocks only the stream fills, under the configuration mutex. */
    int32_t bStatusSeen;
    LumatrekMeasures sMeasures;
    LumatrekKeptTypeRecord sKeptType;
    LumatrekLedRecord sLed;
    LumatrekKeptShorts sKeptShorts;
    LumatrekKeptWords sKeptWords;
    LumatrekSlaveParameters sSlaveParameters;
    uint32_t u32KeptWord;
    LumatrekSignaturePictureSize sSignaturePicture;
    uint32_t au32Focus[2];
    uint8_t au8RebootBlock[260];
    uint32_t u32Reliability;
    uint32_t u32PlateEnd;
} LT_Stream;

/* Reads the body of the packet whose header was read and queues it (or drops it by the
 * rules); 1 = consumed, 0 = the connection must be dropped. */
int ReceivePacket(LumatrekHandle *psHandle, LT_Link *psLink, const LumatrekMessageHeader *psHeader);
/* Reads and drops the body; 1 when all of it was read. */
int PurgeNetSocket(LumatrekHandle *psHandle, LT_Link *psLink, const LumatrekMessageHeader *psHeader);
/* Log lines of the bytes in hexadecimal, 16 a line. */
void LT_logHex(LumatrekHandle *psHandle, const char *pcszFunction, const uint8_t *pu8Data, uint32_t u32Size);
/* Rewrites the sensor times of a payload into local times; only words the payload holds. */
void LT_rewriteTimes(LumatrekHandle *psHandle, LT_PacketEntry *psEntry);
/* Dispatches one packet entry; 0 when dispatch must stop. */
int LT_dispatchEntry(LumatrekHandle *psHandle, LT_PacketEntry *psEntry);
/* Header, then payload, on the stream socket; the caller holds the stream socket mutex. */
int SendStreamSocketRequest(LumatrekHandle *psHandle, LT_Link *psLink, uint32_t u32Code, uint32_t u32Length,
                            const void *pPayload);
/* Serves one stream command on the link (null: not connected). */
void LT_serveStreamCommand(LumatrekHandle *psHandle, LT_Link *psLink, LumatrekCommandRequest *psRequest);
void NetThread(LumatrekHandle *psHandle);
void NetCmdThread(LumatrekHandle *psHandle);
void ReceiveThread(LumatrekHandle *psHandle);
/* The maximum zoom from the version and the camera. */
void LT_setMaxZoom(LumatrekHandle *psHandle);
/* The configuration record from a configuration form of that code; 0 when too short. */
int LT_convertConfigForm(LumatrekHandle *psHandle, uint32_t u32Code, const uint8_t *pu8Wire, uint32_t u32Size);
/* The slot as it is now, or an empty one once the stream is closing; under the slot's mutex. */
LT_Slot LT_openSlot(LumatrekHandle *psHandle, const LT_Slot *psSlot);
/* Hands the cached blocks to the (Ex) configuration callback. */
void LT_replayConfig(LumatrekHandle *psHandle, int bEx);
/* The stream area without its threads: pool, net queue, stream-command queue. 1, or 0 with
 * the failure's code and text. */
int LT_makeStreamArea(LumatrekHandle *psHandle, int32_t *pi32Code, LT_TextId *peText);
/* Frees the stream area; only when none of its threads runs. */
void LT_freeStream(LumatrekHandle *psHandle);
/* Delivers an event to the event callback (made and filled by rFill, 0 when it ran out of
 * memory); 0 without memory. */
int LT_deliverEvent(LumatrekHandle *psHandle, uint32_t u32Type, int (*rFill)(LumatrekEvent *, const void *),
                    const void *pContext);

#ifdef __cplusplus
}

/* Keeps the handle for a whole public call: a call answered as closing while the handle is
 * destroyed still reports on it. */
class LT_CallHold {
public:
    explicit LT_CallHold(LumatrekHandle *psHandle) : m_psHandle(psHandle)
    {
        if (m_psHandle)
            LT_retain(m_psHandle);
    }
    ~LT_CallHold()
    {
        if (m_psHandle)
            LT_release(m_psHandle);
    }
    LT_CallHold(const LT_CallHold &) = delete;
    LT_CallHold &operator=(const LT_CallHold &) = delete;

private:
    LumatrekHandle *m_psHandle;
};
#endif

#endif
