/* The legacy protocol library's interface: handles over a KGV sensor's connections, their
 * error records and connection state, and the records the sensor's blocks convert into.
 * C linkage; records are plain in-memory structures, never wire images. */
#ifndef LUMATREK_H
#define LUMATREK_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* One connection to a sensor; owned by the library from creation to LumatrekDestroy. */
typedef struct LumatrekHandle LumatrekHandle;

/* ---- errors ---- */

#define LUMATREK_ERROR_CRITICAL_STORED (-10)
#define LUMATREK_ERROR_NO_MEMORY (-15)
#define LUMATREK_ERROR_INVALID_ARGUMENT (-20)
#define LUMATREK_ERROR_TIMEOUT (-21)
#define LUMATREK_ERROR_STOPPED (-26)
#define LUMATREK_ERROR_MUTEX (-70)
#define LUMATREK_ERROR_QUEUE (-80)
#define LUMATREK_ERROR_THREAD (-90)
#define LUMATREK_ERROR_THREAD_LATE (-95)
#define LUMATREK_ERROR_EVENT (-100)

/* What went wrong, and where: texts point into the library's table and are never owned. */
typedef struct LumatrekErrorInfo {
    int32_t i32Code;            /* 0 none, otherwise negative */
    const char *pcszText;       /* null when there is no error */
    int32_t i32Critical;        /* 1: the handle's public calls fail until it is destroyed */
    int32_t i32Type;            /* 1 a public function, 0 one of the handle's threads */
    const char *pcszFunction;   /* the reporting function or thread */
} LumatrekErrorInfo;

/* Called for every reported error on the reporting thread (null handle for a failed
 * creation); the record is valid only during the call. */
typedef void (*LumatrekErrorCallback)(LumatrekHandle *psHandle, LumatrekErrorInfo *psError, void *pUser);

/* ---- connection state ---- */

#define LUMATREK_STATE_NOT_CONNECTED 0
#define LUMATREK_STATE_BUSY 1
#define LUMATREK_STATE_READY 2
#define LUMATREK_STATE_RS232_LOCKED 4
#define LUMATREK_STATE_TOO_COLD 5

/* The overall state and one state per socket (0 not connected, 2 connected). */
typedef struct LumatrekConnectionState {
    uint32_t u32Global;
    uint32_t u32TimeSocket;
    uint32_t u32CommandSocket;
    uint32_t u32StreamSocket;
} LumatrekConnectionState;

/* Called on every change, on the changing thread, with the handle's state lock held: it
 * must not change the same handle's state. */
typedef void (*LumatrekConnectionStateCallback)(LumatrekHandle *psHandle, LumatrekConnectionState *psState,
                                                void *pUser);

/* ---- the library ---- */

typedef struct LumatrekVersion {
    const char *pcszVersion; /* static text */
    uint16_t u16Major;
    uint16_t u16Minor;
    uint32_t u32Revision;
} LumatrekVersion;

/* Fills the caller's record and returns it; null for a null record. */
LumatrekVersion *LumatrekGetVersion(LumatrekVersion *psVersion);
/* With a name and a non-zero size (kilobytes) sets the runtime's log file with that cap;
 * otherwise switches the runtime's log file off. */
void LumatrekSetLogFile(const char *pcszLogFile, uint32_t u32MaxSizeKb);

/* A handle on "host[:command,stream,time]" with the stream and, when bWithTimeSocket, the
 * time connection; null when it cannot be made (reported to the error callback). */
LumatrekHandle *LumatrekCreateLightStream(const char *pcszConnection, uint32_t u32StreamOption,
                                          int32_t bWithTimeSocket, LumatrekConnectionStateCallback rState,
                                          void *pStateUser, LumatrekErrorCallback rError, void *pErrorUser);
/* A handle on the command connection alone; null when it cannot be made. */
LumatrekHandle *LumatrekCreateCommand(const char *pcszConnection, LumatrekConnectionStateCallback rState,
                                      void *pStateUser, LumatrekErrorCallback rError, void *pErrorUser);
/* Stops and frees the handle and sets the caller's pointer to null; null does nothing. */
void LumatrekDestroy(LumatrekHandle **ppsHandle);
/* Copies the handle's last error, then forgets it unless it is critical. */
void LumatrekGetLastError(LumatrekHandle *psHandle, LumatrekErrorInfo *psError);
/* Copies the connection state while the handle is usable; otherwise leaves the record. */
void LumatrekGetState(LumatrekHandle *psHandle, LumatrekConnectionState *psState);

/* ---- the sensor's records ---- */

/* Sensor types of the version and configuration records. */
#define LUMATREK_SENSOR_VIDEO 0
#define LUMATREK_SENSOR_ANPR 1
#define LUMATREK_SENSOR_RECORDER 2
#define LUMATREK_SENSOR_DGPR 11
#define LUMATREK_SENSOR_SIGNATURE 13
#define LUMATREK_SENSOR_VIDEO_EXTERNAL 16
#define LUMATREK_SENSOR_UNKNOWN (-1)

/* Firmware version (shown to people) and protocol version (chooses layouts and commands). */
typedef struct LumatrekSensorVersion {
    int32_t i32SensorType;
    uint16_t u16FirmwareMajor;
    uint16_t u16FirmwareMinor;
    uint16_t u16FirmwareRevision;
    int16_t i16ProtocolMajor;
    int16_t i16ProtocolMinor;
    int16_t i16ProtocolRevision;
} LumatrekSensorVersion;

/* The sensor's network settings; also the record the IP configuration command takes. */
typedef struct LumatrekIpConfig {
    char aszAddress[16];
    char aszMask[16];
    char aszGateway[16];
    char aszDns[16];
    uint32_t u32TimeoutMs;
    uint32_t u32CommandPort;
    uint32_t u32StreamPort;
    uint32_t u32TimePort;
    uint32_t u32Dhcp;
} LumatrekIpConfig;

typedef struct LumatrekAnprConfig {
    char aszUniqueName[32];
    uint32_t u32JpegCompression; /* 3 to 31 */
    char aszContext[64];
    char aszPossibleContexts[256];
    uint32_t u32Direction; /* 1 front, 2 rear, 3 both */
    uint32_t u32StreamBitrate;
    int32_t i32StreamFrameSkip; /* -1: recognition stream off */
    uint16_t u16Marker;
    uint8_t u8Zero;
    uint8_t u8EnslavementMode;
    uint16_t au16Kept[2];
    uint32_t u32StillPictureSize; /* 15 off, 31 352x288, 240 720x288 */
} LumatrekAnprConfig;

typedef struct LumatrekDgprConfig {
    uint32_t u32Direction;
    uint32_t u32StreamBitrate;
    int32_t i32StreamFrameSkip;
    uint8_t u8EnslavementMode;
    uint16_t au16Kept[2];
    uint32_t u32JpegCompression;
    uint8_t u8StillPictureSize; /* 240 720x288, else 352x288 */
    uint32_t u32EmptyPlatesDetection;
    uint32_t u32EmptyPlatesRatio; /* 4 high, 10 low, else average */
} LumatrekDgprConfig;

typedef struct LumatrekSignatureConfig {
    uint32_t u32JpegCompression;
    char aszContext[64];
    char aszPossibleContexts[256];
    uint32_t u32Direction;
    uint32_t u32StreamBitrate;
    int32_t i32StreamFrameSkip;
    uint8_t u8Mode;
    uint16_t au16Kept[2];
} LumatrekSignatureConfig;

/* The video body; also the record the MPEG configuration command takes. */
typedef struct LumatrekMpegConfig {
    uint32_t u32MpegMode;
    uint32_t u32Width;
    uint32_t u32Height;
    uint32_t u32Bitrate;
    uint32_t u32Gop;
    uint32_t u32FrameSkip; /* 0 to 255 */
} LumatrekMpegConfig;

/* A recorder's configuration block as it came; its last word is the stream port it serves. */
typedef struct LumatrekRecorderConfig {
    uint8_t au8Block[28];
    uint32_t u32StreamPort;
} LumatrekRecorderConfig;

/* The configuration record: common part, then the body of its sensor type. */
typedef struct LumatrekConfig {
    LumatrekIpConfig sIp;
    uint32_t u32SensorType;
    uint32_t u32CameraWord; /* bits 0-23 camera code, 24-29 LED board id, 30-31 LED colour */
    union {
        LumatrekAnprConfig sAnpr;
        LumatrekDgprConfig sDgpr;
        LumatrekSignatureConfig sSignature;
        LumatrekMpegConfig sMpeg;
        LumatrekRecorderConfig sRecorder;
    } uBody;
} LumatrekConfig;

typedef struct LumatrekCameraConfig {
    uint32_t u32Zoom;
    uint32_t u32Focus;
    uint32_t u32Shutter; /* 6 to 21 */
    uint32_t u32Iris;
    uint32_t u32Gain;
    int32_t i32ExposureCompensation;
    uint32_t u32InfoDisplay;
    uint32_t u32Autofocus;
    uint32_t u32IrCut;
    uint32_t u32ManualMode;
    uint32_t u32LedPower1;
    uint32_t u32LedPower2;
    uint32_t u32MacroMode;
    uint32_t u32Flip;
    uint32_t u32SynchroMode; /* non-zero: in phase */
    uint32_t u32Kept;
    uint32_t u32AeResponseSpeed; /* 1 fast, 32 slow, else normal */
    uint32_t u32BoardId;
    uint32_t u32BoardFlag;
} LumatrekCameraConfig;

typedef struct LumatrekOcrSettings {
    uint32_t u32MaxPlateHeight;
    uint32_t u32MaxPlateWidth;
    uint32_t u32MinPlateHeight;
    uint32_t u32MinPlateWidth;
    uint32_t u32ZoomPlateWidth;
    uint32_t u32MinReliabilityForCharacters;
    uint32_t u32MinReliability;
    uint32_t u32MinCharWidthStatic;
    uint32_t u32MinPlateWidthStatic8Char;
    uint32_t u32MinRecognitionStatic;
    uint32_t u32MinRecognition;
    uint32_t u32MaxNoPlateBeforeDecision;
} LumatrekOcrSettings;

typedef struct LumatrekMeasures {
    uint16_t au16Kept[4];
    int16_t i16Temperature; /* degrees Celsius */
    uint8_t au8Zero[6];
} LumatrekMeasures;

typedef struct LumatrekLateStackConfig {
    uint32_t u32Enabled;
    uint32_t u32Size;
    uint32_t u32JpegCompression;
} LumatrekLateStackConfig;

/* One unicast discover subscription. */
typedef struct LumatrekDiscoverAddress {
    char aszAddress[16];
    uint32_t u32Port;
} LumatrekDiscoverAddress;

typedef struct LumatrekDataBaseConfig {
    uint32_t u32Mode; /* 0 off, 1 on, 2 open for all */
    uint32_t u32RisingEdge;
    uint32_t u32ImpulseDurationMs;
    uint8_t u8MatchTolerance;
    uint8_t au8Zero[3];
} LumatrekDataBaseConfig;

typedef struct LumatrekSpeedParams {
    uint32_t u32FieldOfViewCm;
    int32_t i32HeightCm;        /* -1 when absent */
    int32_t i32AngleTenthDegree; /* -1 when absent */
} LumatrekSpeedParams;

typedef struct LumatrekKeptTypeRecord {
    int32_t i32SensorType;
    uint32_t au32Kept[6];
} LumatrekKeptTypeRecord;

typedef struct LumatrekAreaOfInterest {
    uint32_t u32X;
    uint32_t u32Y;
    uint32_t u32Width;
    uint32_t u32Height;
    uint32_t u32Excluding;
} LumatrekAreaOfInterest;

typedef struct LumatrekLedRecord {
    uint32_t au32Kept[4];
    uint32_t u32CurrentLimit; /* derived: 0, 2000 or 4000 */
    uint32_t u32Kept6;
    uint32_t u32Kept7;
} LumatrekLedRecord;

typedef struct LumatrekKeptShorts {
    uint16_t au16Kept[3];
} LumatrekKeptShorts;

typedef struct LumatrekBoardConfig {
    uint32_t au32Kept[2];
    uint32_t u32SerialExportMode; /* 0 off, 1 simple, 2 advanced */
    uint32_t u32StreamCodec;      /* 0 MPEG, 1 JPEG */
    uint32_t u32IoMode;           /* 0 off, 1 input, 2 output */
    int32_t i32Kept;
    uint32_t u32SensorType;
} LumatrekBoardConfig;

typedef struct LumatrekMasterAddresses {
    char aszAddress1[16];
    uint32_t au32Kept1[3];
    char aszAddress2[16];
    uint32_t au32Kept2[3];
} LumatrekMasterAddresses;

typedef struct LumatrekKeptWords {
    uint32_t au32Kept[3];
    uint32_t au32Zero[2];
} LumatrekKeptWords;

typedef struct LumatrekActivationConfig {
    uint32_t u32SpeedMeasure;
    uint32_t u32AreaOfInterest;
    uint32_t u32DuplicateFilter;
    uint32_t u32AutomaticFocus;
    uint32_t u32KeptSwitch;
} LumatrekActivationConfig;

typedef struct LumatrekMasterParameters {
    uint32_t au32Kept[2];
    int32_t i32CoveringZone; /* sign: slave side (negative left); absolute value: width */
    uint8_t au8SlaveAnprMac[6];
    uint8_t au8SlaveContextMac[6];
    uint32_t u32Kept;
} LumatrekMasterParameters;

typedef struct LumatrekSlaveParameters {
    uint32_t au32Kept[3];
} LumatrekSlaveParameters;

typedef struct LumatrekRemoteEnslaveParams {
    uint32_t u32ElectionWaitS;
    uint32_t u32MaxUndecidedS;
    uint32_t u32SwitchType; /* 0 manual, 1 infrared, 2 white light, 3 automatic */
    uint32_t u32PlateHysteresis;
    uint16_t u16MaxGain;
} LumatrekRemoteEnslaveParams;

typedef struct LumatrekSignaturePictureSize {
    uint32_t u32Width;
    uint32_t u32Height;
    uint8_t au8Kept[8];
} LumatrekSignaturePictureSize;

/* The projector output. */
typedef struct LumatrekLedExternalTriggerConfig {
    uint32_t u32ProjectorPresent;
    uint32_t u32Enabled;
    uint32_t u32Bracketing;
    uint32_t u32Delay;
    uint32_t u32Width;
} LumatrekLedExternalTriggerConfig;

/* The sensor's self-description as its discover answer carries it. */
typedef struct LumatrekSensorDescription {
    int32_t i32SensorType;
    uint8_t au8Mac[6];
    char aszAddress[18]; /* the handle's address */
    uint32_t u32Valid;   /* 1 once filled */
    uint32_t u32Fixed;
    uint16_t au16Version[3];
    uint32_t au32Words20[3];
    uint32_t u32Word18;
    uint32_t u32Fixed2;
    uint32_t u32Status;
    uint32_t u32Unfilled1;
    char aszName[32];
    uint32_t u32Word76;
    int32_t i32Word80;
    uint16_t u16Word82;
    uint32_t u32Word88;
    char aszText92[16];
    uint8_t au8Block108[256];
    uint16_t au16Shorts364[3];
    uint32_t au32Bytes370[2];
    uint32_t au32Words372[2];
    char aszText380[64];
    uint32_t u32Word460;
    uint32_t u32Word464;
    uint16_t au16Shorts450[2];
    uint32_t u32Word468;
    uint32_t u32Unfilled2;
    uint32_t u32Word472;
    uint32_t u32Unfilled3;
    uint8_t au8Mac436[6];
    uint8_t au8Mac446[6];
    uint32_t u32Byte466;
    uint32_t au32Words476[2];
} LumatrekSensorDescription;

/* The sensor's status word and the handle's connection state. */
typedef struct LumatrekStatus {
    uint32_t u32Status;
    LumatrekConnectionState sState;
} LumatrekStatus;

/* ---- commands ----
 * Each returns 0, or: -1 bad argument, critical error, error reported or block not held;
 * -2 no command connection or handle stopped; -4 empty list; -5 queue refused or wait timed
 * out; -7 null handle; another negative value is the command status (-3, -5 to -16).
 * Failures are reported to the error callback and kept as the handle's last error. */

/* Sets the wait time-out (ms) of every later command call and switches command mode on. */
void LumatrekSetCommandMode(LumatrekHandle *psHandle, uint32_t u32TimeoutMs);

/* Status word, with the connection state. */
int32_t LumatrekGetStatusV2(LumatrekHandle *psHandle, LumatrekStatus *psStatus);
/* Reboots the sensor (through the time connection when the command connection fails). */
int32_t LumatrekReboot(LumatrekHandle *psHandle);

/* Camera and lighting. */
int32_t LumatrekSetZoom(LumatrekHandle *psHandle, uint32_t u32Zoom);
int32_t LumatrekSetIris(LumatrekHandle *psHandle, uint32_t u32Iris);
int32_t LumatrekSetGain(LumatrekHandle *psHandle, uint32_t u32Gain);
/* The LED powers in force afterwards go to the outputs that are not null. */
int32_t LumatrekSetShutter(LumatrekHandle *psHandle, uint32_t u32Shutter, uint32_t *pu32Power1,
                           uint32_t *pu32Power2);
int32_t LumatrekSetFocus(LumatrekHandle *psHandle, uint32_t u32Focus);
int32_t LumatrekSetExpComp(LumatrekHandle *psHandle, uint32_t u32Value);
int32_t LumatrekSetAutofocusOn(LumatrekHandle *psHandle);
/* The focus the camera stopped at goes to the output when it is not null. */
int32_t LumatrekSetAutofocusOff(LumatrekHandle *psHandle, uint32_t *pu32Focus);
int32_t LumatrekSetDisplay(LumatrekHandle *psHandle, uint32_t u32Value);
/* The powers sent go to the outputs that are not null. */
int32_t LumatrekSetPower(LumatrekHandle *psHandle, uint32_t u32Power1, uint32_t u32Power2, uint32_t *pu32Power1,
                         uint32_t *pu32Power2);
/* Iris and gain the camera holds go to the outputs that are not null. */
int32_t LumatrekSetManualMode(LumatrekHandle *psHandle, uint32_t *pu32Iris, uint32_t *pu32Gain);
int32_t LumatrekSetShutterMode(LumatrekHandle *psHandle);
int32_t LumatrekSetIRCut(LumatrekHandle *psHandle, uint32_t u32Value);
int32_t LumatrekSaveFocus(LumatrekHandle *psHandle);
int32_t LumatrekStore(LumatrekHandle *psHandle);
int32_t LumatrekSetMacroMode(LumatrekHandle *psHandle, uint32_t u32Value);
/* Focus with the IR-cut filter on, then off; either output may be null. */
int32_t LumatrekGetFocusValues(LumatrekHandle *psHandle, uint32_t *pu32FocusIrCutOn, uint32_t *pu32FocusIrCutOff);
int32_t LumatrekSetCameraSynchro(LumatrekHandle *psHandle, uint32_t u32Value);
int32_t LumatrekSetFlip(LumatrekHandle *psHandle, uint32_t u32Value);
int32_t LumatrekSetAEResponseSpeed(LumatrekHandle *psHandle, uint32_t u32Value);
int32_t LumatrekSetBracketingConfig(LumatrekHandle *psHandle, uint32_t u32First, uint32_t u32Second);
/* Reports nothing: -1 for a null handle or output, or a block a stream handle lacks. */
int32_t LumatrekGetBracketingConfig(LumatrekHandle *psHandle, uint32_t *pu32First, uint32_t *pu32Second);
int32_t LumatrekSetEcoMode(LumatrekHandle *psHandle, uint32_t u32Value);
int32_t LumatrekGetLedExternalTriggerConfig(LumatrekHandle *psHandle, LumatrekLedExternalTriggerConfig *psConfig);
int32_t LumatrekSetLedExternalTriggerConfig(LumatrekHandle *psHandle,
                                            const LumatrekLedExternalTriggerConfig *psConfig);

/* The sensor's serial port. */
int32_t LumatrekSwitchAndLockRS232(LumatrekHandle *psHandle, uint32_t u32Mode);
int32_t LumatrekUnlockRS232(LumatrekHandle *psHandle);
int32_t LumatrekWriteRS232(LumatrekHandle *psHandle, const uint8_t *pu8Data, uint32_t u32Length);
/* Exactly the length (at most 256) into the buffer. */
int32_t LumatrekReadRS232Size(LumatrekHandle *psHandle, uint8_t *pu8Buffer, uint32_t u32Length, uint32_t u32TimeoutMs);
/* Up to the terminator: *pu32Length is the buffer's size in and the bytes received out. */
int32_t LumatrekReadRS232Terminator(LumatrekHandle *psHandle, uint8_t *pu8Buffer, uint8_t u8Terminator,
                                    uint32_t u32TimeoutMs, uint32_t *pu32Length);

/* Inputs and outputs. */
int32_t LumatrekSetOutput(LumatrekHandle *psHandle, uint32_t u32Value);
int32_t LumatrekGetIoState(LumatrekHandle *psHandle, int32_t *pi32State);
int32_t LumatrekSetIoMode(LumatrekHandle *psHandle, uint32_t u32Mode);
int32_t LumatrekSetOpenBarrier(LumatrekHandle *psHandle);

/* The plate database on the sensor. The callback gets each entry as a terminated text that
 * is valid only during the call. */
typedef int (*LumatrekDataBaseCallback)(LumatrekHandle *psHandle, uint32_t u32Index, const char *pcszPlate,
                                        void *pUser);
int32_t LumatrekAddToDataBase(LumatrekHandle *psHandle, const char *pcszPlate);
int32_t LumatrekRemoveFromDataBase(LumatrekHandle *psHandle, const char *pcszPlate);
int32_t LumatrekUpdateDataBase(LumatrekHandle *psHandle);
int32_t LumatrekEraseDataBase(LumatrekHandle *psHandle);
int32_t LumatrekGetDataBaseSize(LumatrekHandle *psHandle, uint32_t *pu32Count);
int32_t LumatrekEnumDataBase(LumatrekHandle *psHandle, LumatrekDataBaseCallback rCallback, void *pUser);
int32_t LumatrekGetDataBaseConfig(LumatrekHandle *psHandle, LumatrekDataBaseConfig *psConfig);
int32_t LumatrekSetDataBaseConfig(LumatrekHandle *psHandle, const LumatrekDataBaseConfig *psConfig);

/* Recognition and video configuration. */
int32_t LumatrekGetConfig(LumatrekHandle *psHandle, LumatrekConfig *psConfig);
int32_t LumatrekSetMPEGConfigV2(LumatrekHandle *psHandle, uint32_t u32MpegMode, uint32_t u32Width, uint32_t u32Height,
                                uint32_t u32Bitrate, uint32_t u32Gop, uint32_t u32FrameSkip);
int32_t LumatrekSetANPRConfigV2(LumatrekHandle *psHandle, const char *pcszUniqueName, uint32_t u32JpegCompression,
                                uint32_t u32StillPictureSize, const char *pcszContext, uint32_t u32Direction,
                                uint32_t u32StreamBitrate, int32_t i32StreamFrameSkip, uint32_t u32EnslavementMode);
int32_t LumatrekSetDGPRConfig(LumatrekHandle *psHandle, uint32_t u32Direction, uint32_t u32StreamBitrate,
                              int32_t i32StreamFrameSkip, uint32_t u32EnslavementMode, uint32_t u32JpegCompression,
                              uint32_t u32StillPictureSize, uint32_t u32EmptyPlatesDetection,
                              uint32_t u32EmptyPlatesRatio);
int32_t LumatrekGetRemoteOcrSettings(LumatrekHandle *psHandle, LumatrekOcrSettings *psSettings);
int32_t LumatrekSetRemoteOcrSettings(LumatrekHandle *psHandle, const LumatrekOcrSettings *psSettings);
int32_t LumatrekSetRemoteLateStackConfig(LumatrekHandle *psHandle, const LumatrekLateStackConfig *psConfig);
int32_t LumatrekGetRemoteSpeedParams(LumatrekHandle *psHandle, LumatrekSpeedParams *psParams);
int32_t LumatrekSetRemoteSpeedParams(LumatrekHandle *psHandle, const LumatrekSpeedParams *psParams);
/* At least one output. */
int32_t LumatrekGetRemoteRecognitionAreaOfInterest(LumatrekHandle *psHandle, LumatrekAreaOfInterest *psArea,
                                                   uint32_t *pu32Mode);
/* At least one of the two. */
int32_t LumatrekSetRemoteRecognitionAreaOfInterest(LumatrekHandle *psHandle, const LumatrekAreaOfInterest *psArea,
                                                   const uint32_t *pu32Mode);
int32_t LumatrekSetConfigurationFile(LumatrekHandle *psHandle, uint32_t u32Index, uint32_t u32Size,
                                     const void *pData);

/* Activation and equipment. */
int32_t LumatrekGetActivationConfig(LumatrekHandle *psHandle, LumatrekActivationConfig *psConfig);
int32_t LumatrekSetActivationConfig(LumatrekHandle *psHandle, const LumatrekActivationConfig *psConfig);
int32_t LumatrekGetBoardConfig(LumatrekHandle *psHandle, LumatrekBoardConfig *psConfig);
int32_t LumatrekSetBoardConfig(LumatrekHandle *psHandle, const LumatrekBoardConfig *psConfig);
int32_t LumatrekGetCardClass(LumatrekHandle *psHandle, uint32_t *pu32CardClass);
/* Sends a raw message and waits for its acknowledgement; the reply buffer is not filled. */
int32_t LumatrekSendCommandKGV(LumatrekHandle *psHandle, uint32_t u32Code, const void *pPayload, uint32_t u32Size,
                               void *pReply, uint32_t u32ReplySize);

/* Network, identity and discovery. Null address texts count as "0.0.0.0". */
int32_t LumatrekSetIPConfigV3(LumatrekHandle *psHandle, const char *pcszAddress, const char *pcszMask,
                              const char *pcszGateway, const char *pcszDns, uint32_t u32TimeoutMs,
                              uint32_t u32CommandPort, uint32_t u32StreamPort, uint32_t u32TimePort, uint32_t u32Dhcp);
int32_t LumatrekSetUniqueName(LumatrekHandle *psHandle, const char *pcszName);
int32_t LumatrekSubscribeUnicastDiscover(LumatrekHandle *psHandle, const LumatrekDiscoverAddress *psAddress);
int32_t LumatrekUnsubscribeUnicastDiscover(LumatrekHandle *psHandle, const LumatrekDiscoverAddress *psAddress);
/* *pu32Count is the list's room in and the subscriptions out; a null list asks the count. */
int32_t LumatrekGetSubscribedUnicastDiscover(LumatrekHandle *psHandle, LumatrekDiscoverAddress *psList,
                                             uint32_t *pu32Count);

/* Master, slave and enslavement. */
int32_t LumatrekGetMasterParameters(LumatrekHandle *psHandle, LumatrekMasterParameters *psParams);
int32_t LumatrekSetMasterParameters(LumatrekHandle *psHandle, const LumatrekMasterParameters *psParams);
int32_t LumatrekResetMasterSlaveParameters(LumatrekHandle *psHandle);
int32_t LumatrekGetRemoteEnslaveParams(LumatrekHandle *psHandle, LumatrekRemoteEnslaveParams *psParams);
int32_t LumatrekSetRemoteEnslaveParams(LumatrekHandle *psHandle, const LumatrekRemoteEnslaveParams *psParams);
int32_t LumatrekSetRemoteEnslaveSwitchType(LumatrekHandle *psHandle, uint32_t u32SwitchType);

/* Commands that travel on the stream connection. */
int32_t LumatrekGetCurrentLogInfoV2(LumatrekHandle *psHandle, uint32_t u32RequestNumber, uint32_t u32Second);
int32_t LumatrekGetImage(LumatrekHandle *psHandle, uint32_t u32RequestNumber);
int32_t LumatrekGetImageV2(LumatrekHandle *psHandle, uint32_t u32First, uint32_t u32Second);
int32_t LumatrekSetStreamState(LumatrekHandle *psHandle, uint32_t u32State);
int32_t SendStreamCommandKGV(LumatrekHandle *psHandle, uint32_t u32Code, const void *pPayload, uint32_t u32Size);

/* ==== the stream: records and callbacks ==== */

/* A configuration block as the configuration callbacks see it: its type, then the block. */
#define LUMATREK_CONFIG_END 0x7FFFFFFFu
typedef struct LumatrekConfigRecord {
    uint32_t u32Type;
    union {
        uint32_t u32Status;                  /* type 1 of the plain callback */
        char aszText[257];                   /* type 2 */
        LumatrekSensorVersion sVersion;      /* type 3 */
        LumatrekConfig sConfig;              /* type 4 */
        LumatrekSensorDescription sDescription; /* type 5 */
        LumatrekCameraConfig sCamera;        /* type 6 */
        LumatrekOcrSettings sOcr;            /* type 7 */
        LumatrekMeasures sMeasures;          /* type 8 */
        LumatrekLateStackConfig sLateStack;  /* type 9 */
        LumatrekDataBaseConfig sDataBase;    /* type 11 */
        LumatrekSpeedParams sSpeed;          /* type 12 */
        LumatrekKeptTypeRecord sKeptType;    /* type 13 */
        LumatrekAreaOfInterest sArea;        /* type 14 */
        LumatrekLedRecord sLed;              /* type 15 */
        LumatrekKeptShorts sKeptShorts;      /* type 16 */
        LumatrekBoardConfig sBoard;          /* Ex type 1 */
        LumatrekMasterAddresses sMasterAddresses; /* Ex 2 */
        LumatrekKeptWords sKeptWords;        /* Ex 3 */
        LumatrekActivationConfig sActivation; /* Ex 4 */
        LumatrekMasterParameters sMasterParameters; /* Ex 5 */
        LumatrekSlaveParameters sSlaveParameters; /* Ex 6 */
        LumatrekRemoteEnslaveParams sRemoteEnslave; /* Ex 8 */
        LumatrekSignaturePictureSize sSignaturePicture; /* Ex 9 */
        LumatrekLedExternalTriggerConfig sLedTrigger; /* Ex 17 */
        uint32_t au32Words[65];              /* Ex 7, 18 to 24, type 10's count */
    } uBlock;
} LumatrekConfigRecord;

/* A picture handed with an event or a recognition; the JPEG bytes belong to the record. */
typedef struct LumatrekImage {
    uint32_t u32Time;
    uint32_t au32Zero[2];
    uint32_t u32Option;
    void *pDecoded; /* never filled */
    uint32_t u32JpegSize;
    uint8_t *pu8Jpeg;
} LumatrekImage;

typedef struct LumatrekContextImage {
    uint32_t u32Time;
    void *pDecoded;
    uint32_t au32Zero[2];
    uint32_t u32JpegSize;
    uint8_t *pu8Jpeg;
} LumatrekContextImage;

/* Event types. */
#define LUMATREK_EVENT_RUN_STATE 1
#define LUMATREK_EVENT_IMAGE 2
#define LUMATREK_EVENT_TIMED_VALUE 3
#define LUMATREK_EVENT_IMAGE_ANSWER 4
#define LUMATREK_EVENT_COMMAND_FAILED 5
#define LUMATREK_EVENT_TRIGGER_ANSWER 6
#define LUMATREK_TRIGGER_ANSWER_SIZE 274

typedef struct LumatrekEvent {
    uint32_t u32Type;
    union {
        uint32_t u32RunState;
        LumatrekImage sImage;
        struct {
            uint32_t u32Time;
            uint32_t u32Value;
        } sTimed;
        struct {
            uint32_t u32Request;
            int32_t i32Status; /* 0 taken, 2 too early, 3 too late, -1 other */
            LumatrekImage sImage;
        } sAnswer;
        struct {
            int32_t i32Code; /* -215 */
            uint32_t u32Kind; /* 1 picture, 2 timed picture, 3 trigger */
            uint32_t u32Value;
        } sFailure;
        uint8_t au8Trigger[LUMATREK_TRIGGER_ANSWER_SIZE];
    } uData;
} LumatrekEvent;

typedef struct LumatrekSpeed {
    uint32_t u32Session;
    uint32_t u32PlateSource; /* 1 slave, 2 master */
    uint32_t u32FirstSampleTime;
    uint32_t u32SpeedKmh;
    uint32_t u32InterDistanceMs; /* 0xFFFF when the sensor does not give it */
} LumatrekSpeed;

/* Result types of a recognition record. */
#define LUMATREK_RESULT_DECISION 2
#define LUMATREK_RESULT_PASSAGE_BEGIN 3
#define LUMATREK_RESULT_PASSAGE_END 4
#define LUMATREK_RESULT_NO_PLATE 5
#define LUMATREK_RESULT_TRIGGER_NO_PLATE 6
#define LUMATREK_RESULT_TRIGGER_DECISION 7

typedef struct LumatrekRecognition {
    uint32_t u32Time;
    char aszPlate[17];
    int32_t i32BoxX, i32BoxY, i32BoxWidth, i32BoxHeight;
    float fSinus;
    uint32_t u32Reliability;
    uint32_t u32Direction; /* 1 front, 2 rear */
    char aszContext[65];
    uint32_t u32ResultType;
    LumatrekImage sImage;
    uint32_t u32RequestNumber; /* below 10 for pushed recognitions */
    uint32_t u32DataBase;
    uint32_t u32Occurrences;
    LumatrekContextImage sContextImage;
    uint32_t u32Session;
    uint32_t u32PlateSource;
    uint32_t u32SensorTime;
    uint32_t u32Contrast;
    uint32_t u32TriggerId;
    uint32_t u32TriggerOnTime;
    uint32_t u32TriggerOffTime;
    uint32_t au32Unfilled[15];
    uint32_t u32LibraryAllocated;
    uint32_t u32Unfilled;
} LumatrekRecognition;

typedef void (*LumatrekConfigCallback)(LumatrekHandle *psHandle, LumatrekConfigRecord *psRecord, void *pUser);
typedef void (*LumatrekConfigCallbackEx)(LumatrekHandle *psHandle, LumatrekConfigRecord *psRecord, void *pUser);
/* The receiver owns the event and gives it back with LumatrekReleaseEvent. */
typedef void (*LumatrekEventCallback)(LumatrekHandle *psHandle, LumatrekEvent *psEvent, void *pUser);
typedef void (*LumatrekXpegCallback)(LumatrekHandle *psHandle, uint32_t u32Time, uint32_t u32Connection,
                                     uint32_t u32Frame, uint32_t u32Codec, uint32_t u32KeyFrame, uint32_t u32Size,
                                     const uint8_t *pu8Frame, void *pUser);
typedef void (*LumatrekIoCallback)(LumatrekHandle *psHandle, int32_t i32State, uint32_t u32Time, void *pUser);
/* The receiver owns the record and gives it back with LumatrekReleaseRecognition. */
typedef void (*LumatrekRecognitionCallback)(LumatrekHandle *psHandle, LumatrekRecognition *psRecord, void *pUser);
typedef void (*LumatrekDGRecognitionCallback)(LumatrekHandle *psHandle, LumatrekRecognition *psRecord,
                                              void *pUser);
typedef void (*LumatrekSpeedCallback)(LumatrekHandle *psHandle, LumatrekSpeed *psSpeed, void *pUser);

/* Setters: 1, or 0 with the error reported; a null callback clears the slot. Installing a
 * configuration callback hands it every block already received, at once. */
int32_t LumatrekAddConfigCallback(LumatrekHandle *psHandle, LumatrekConfigCallback rCallback, void *pUser);
int32_t LumatrekAddConfigCallbackEx(LumatrekHandle *psHandle, LumatrekConfigCallbackEx rCallback, void *pUser);
int32_t LumatrekAddEventCallback(LumatrekHandle *psHandle, LumatrekEventCallback rCallback, void *pUser);
int32_t LumatrekAddXpegCallback(LumatrekHandle *psHandle, LumatrekXpegCallback rCallback, void *pUser);
int32_t LumatrekAddIoCallback(LumatrekHandle *psHandle, LumatrekIoCallback rCallback, void *pUser);
int32_t LumatrekAddSpeedCallback(LumatrekHandle *psHandle, LumatrekSpeedCallback rCallback, void *pUser);
/* A non-zero decompress fails with -123: the library hands compressed pictures only. */
int32_t LumatrekAddRemoteRecognition(LumatrekHandle *psHandle, uint32_t u32Decompress,
                                     LumatrekRecognitionCallback rCallback, void *pUser);
int32_t LumatrekAddRemoteDGRecognition(LumatrekHandle *psHandle, uint32_t u32Decompress,
                                       LumatrekDGRecognitionCallback rCallback, void *pUser);
/* Clear operations, one per callback group. */
void LumatrekCancelConfigCallback(LumatrekHandle *psHandle);
void LumatrekCancelEventCallback(LumatrekHandle *psHandle);
void LumatrekCancelXpegCallback(LumatrekHandle *psHandle);
void LumatrekCancelIoCallback(LumatrekHandle *psHandle);
void LumatrekCancelSpeedCallback(LumatrekHandle *psHandle);
void LumatrekCancelRemoteRecognition(LumatrekHandle *psHandle);
void LumatrekCancelRemoteDGRecognition(LumatrekHandle *psHandle);
/* Frees an event with its pictures and sets the pointer null; null does nothing. */
void LumatrekReleaseEvent(LumatrekEvent **ppsEvent);
/* Frees a record the library made, with its pictures, and sets the pointer null. */
void LumatrekReleaseRecognition(LumatrekRecognition **ppsRecord);

#ifdef __cplusplus
}
#endif

#endif
