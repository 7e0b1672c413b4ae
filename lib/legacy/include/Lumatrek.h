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

#ifdef __cplusplus
}
#endif

#endif
