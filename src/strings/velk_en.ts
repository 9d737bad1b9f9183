<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name></name>
    <message id="Err_MIDIOpen">
        <source>Err_MIDIOpen</source>
        <translation>The amplifier's MIDI port could not be opened. Check that no other program holds it, then reconnect the USB cable.</translation>
    </message>
    <message id="Err_MIDISend">
        <source>Err_MIDISend</source>
        <translation>A message could not be sent to the amplifier. Check the USB connection.</translation>
    </message>
    <message id="Err_ReceiveData">
        <source>Err_ReceiveData</source>
        <translation>The amplifier rejected the data it was sent.</translation>
    </message>
    <message id="Err_FIRData_Write">
        <source>Err_FIRData_Write</source>
        <translation>The amplifier could not write the impulse response into its memory.</translation>
    </message>
    <message id="Err_Timeout">
        <source>Err_Timeout</source>
        <translation>The amplifier did not answer in time.</translation>
    </message>
    <message id="Err_FIRFile_Open">
        <source>Err_FIRFile_Open</source>
        <translation>The file could not be opened, or it is not an accepted impulse response: a .wav, .aif or .aiff file of plain integer PCM (not WAVE extensible), 44100 Hz, one or two channels, 16, 24 or 32 bits.</translation>
    </message>
    <message id="Err_FIRFile_Channel">
        <source>Err_FIRFile_Channel</source>
        <translation>The file must have one or two channels.</translation>
    </message>
    <message id="Err_FIRFile_SampleRate">
        <source>Err_FIRFile_SampleRate</source>
        <translation>The file's sample rate must be 44100 Hz.</translation>
    </message>
    <message id="Err_FIRFile_SampleSize">
        <source>Err_FIRFile_SampleSize</source>
        <translation>The file's samples must be 16, 24 or 32 bits.</translation>
    </message>
    <message id="Err_FIRFile_Read">
        <source>Err_FIRFile_Read</source>
        <translation>The file could not be read.</translation>
    </message>
    <message id="Err_Unknown">
        <source>Err_Unknown</source>
        <translation>An unexpected error occurred.</translation>
    </message>
    <message id="Cli_Usage">
        <source>Cli_Usage</source>
        <translation>Usage: velkctl [OPTIONS] COMMAND [ARGUMENTS] [OPTIONS]</translation>
    </message>
    <message id="Cli_Commands">
        <source>Cli_Commands</source>
        <translation>Commands:</translation>
    </message>
    <message id="Cli_SeeHelp">
        <source>Cli_SeeHelp</source>
        <translation>Run "%1" for details.</translation>
    </message>
    <message id="Cli_Err_UnknownCommand">
        <source>Cli_Err_UnknownCommand</source>
        <translation>unknown command "%1".</translation>
    </message>
    <message id="Cli_Err_UnknownOption">
        <source>Cli_Err_UnknownOption</source>
        <translation>unknown option "%1".</translation>
    </message>
    <message id="Cli_Err_MissingValue">
        <source>Cli_Err_MissingValue</source>
        <translation>the option "%1" needs a value.</translation>
    </message>
    <message id="Cli_Err_UnexpectedValue">
        <source>Cli_Err_UnexpectedValue</source>
        <translation>the option "%1" takes no value.</translation>
    </message>
    <message id="Cli_Err_MissingFile">
        <source>Cli_Err_MissingFile</source>
        <translation>no FILE given: name a WAV or AIFF impulse-response file.</translation>
    </message>
    <message id="Cli_Err_ExtraArgument">
        <source>Cli_Err_ExtraArgument</source>
        <translation>unexpected argument "%1".</translation>
    </message>
    <message id="Cli_Err_BadChannel">
        <source>Cli_Err_BadChannel</source>
        <translation>the channel must be "left" or "right", not "%1".</translation>
    </message>
    <message id="Cli_IrShow_Summary">
        <source>Cli_IrShow_Summary</source>
        <translation>Show what the amplifier would receive from an impulse-response file.</translation>
    </message>
    <message id="Cli_IrShow_Help">
        <source>Cli_IrShow_Help</source>
        <translation>Loads FILE exactly as the speaker simulation panel does and prints the IR name the panel gives it,
the file's channels, sample rate, sample size and sample frames, the channel read, and the 2048
coefficients sent to the amplifier (the first 2048 frames of that channel as signed 16-bit values,
zero-filled when the file is shorter).

FILE                    a .wav, .aif or .aiff file: 44100 Hz, one or two channels, 16, 24 or 32 bits.
--channel left|right    the channel read from a stereo file (default left); a mono file always gives
                        its only channel.
--json                  print one JSON object: {"name", "channels", "sampleRate", "sampleSize",
                        "frames", "channel" (0 left, 1 right), "coefficients" (2048 integers)}.
--help                  show this help.

Exit status: 0 done, 1 wrong arguments, 2 the file cannot be used. A file error is printed on stderr
as "error CODE (KEY): TEXT"; with --json, {"error":CODE,"key":"KEY"} is also printed on stdout.</translation>
    </message>
    <message id="Cli_IrShow_ExtensibleHint">
        <source>Cli_IrShow_ExtensibleHint</source>
        <translation>hint: the file has a WAVE extensible header, which is not accepted; "velkctl ir convert FILE" writes a plain PCM copy the amp takes</translation>
    </message>
    <message id="Cli_IrShow_Name">
        <source>Cli_IrShow_Name</source>
        <translation>IR name: %1</translation>
    </message>
    <message id="Cli_IrShow_Channels">
        <source>Cli_IrShow_Channels</source>
        <translation>Channels: %1</translation>
    </message>
    <message id="Cli_IrShow_SampleRate">
        <source>Cli_IrShow_SampleRate</source>
        <translation>Sample rate: %1 Hz</translation>
    </message>
    <message id="Cli_IrShow_SampleSize">
        <source>Cli_IrShow_SampleSize</source>
        <translation>Sample size: %1 bits</translation>
    </message>
    <message id="Cli_IrShow_Frames">
        <source>Cli_IrShow_Frames</source>
        <translation>Sample frames: %1</translation>
    </message>
    <message id="Cli_IrShow_Channel">
        <source>Cli_IrShow_Channel</source>
        <translation>Channel read: %1</translation>
    </message>
    <message id="Cli_IrShow_Coefficients">
        <source>Cli_IrShow_Coefficients</source>
        <translation>Coefficients (%1):</translation>
    </message>
    <message id="Cli_Channel_Left">
        <source>Cli_Channel_Left</source>
        <translation>left</translation>
    </message>
    <message id="Cli_Channel_Right">
        <source>Cli_Channel_Right</source>
        <translation>right</translation>
    </message>
    <message id="Cli_IrConvert_Summary">
        <source>Cli_IrConvert_Summary</source>
        <translation>Convert an impulse response the amplifier cannot take into a copy it can.</translation>
    </message>
    <message id="Cli_IrConvert_Help">
        <source>Cli_IrConvert_Help</source>
        <translation>Reads IN (WAV of any kind, including 32-bit float and extensible WAVE, AIFF, FLAC: whatever
libsndfile reads), resamples it to 44100 Hz with libsoxr at high quality, and writes OUT as a plain
PCM WAV file that the amplifier and the editor load. IN itself is never changed.

IN                      the impulse response to convert.
OUT                     the copy, a .wav file (default: IN's name with " 44k1.wav" in place of its
                        extension, in IN's folder). An existing file is kept unless --force is given.
--channel left|right|both
                        the channels to keep (default both: a mono file stays mono, a stereo file
                        stereo). A file of more than two channels needs left or right.
--bits 16|24            the sample size of the copy (default 24).
--trim                  keep only the first 2048 frames, all that the amplifier uses.
--normalize DB          scale the copy so that its peak is DB dBFS (0 or below, e.g. -1).
--force                 replace OUT if it exists.
--json                  print one JSON object: {"input", "output", "from", "to", "clippedSamples"}, where
                        "from" and "to" each hold "sampleRate", "channels", "frames", "sampleSize" (null
                        for a compressed coding), "float" and "peakDb" (null for silence).
--help                  show this help.

The copy is written under a temporary name beside OUT and renamed when complete, so a failed
conversion leaves no file behind. Samples beyond full scale are clipped and counted on stderr;
--normalize avoids that.

Exit status: 0 done, 1 wrong arguments, 2 IN cannot be converted or OUT cannot be written; with
--json a failure also prints {"error":null,"key":"KEY"} on stdout.</translation>
    </message>
    <message id="Cli_IrConvert_Done">
        <source>Cli_IrConvert_Done</source>
        <translation>Converted %1 to %2.</translation>
    </message>
    <message id="Cli_IrConvert_From">
        <source>Cli_IrConvert_From</source>
        <translation>From: %1</translation>
    </message>
    <message id="Cli_IrConvert_To">
        <source>Cli_IrConvert_To</source>
        <translation>To:   %1</translation>
    </message>
    <message id="Cli_IrConvert_Format">
        <source>Cli_IrConvert_Format</source>
        <translation>%1 Hz, %2, %3, %4 frames, %5</translation>
    </message>
    <message id="Cli_IrConvert_Bits">
        <source>Cli_IrConvert_Bits</source>
        <translation>%1-bit</translation>
    </message>
    <message id="Cli_IrConvert_FloatBits">
        <source>Cli_IrConvert_FloatBits</source>
        <translation>%1-bit float</translation>
    </message>
    <message id="Cli_IrConvert_OtherCoding">
        <source>Cli_IrConvert_OtherCoding</source>
        <translation>compressed</translation>
    </message>
    <message id="Cli_IrConvert_OneChannel">
        <source>Cli_IrConvert_OneChannel</source>
        <translation>1 channel</translation>
    </message>
    <message id="Cli_IrConvert_Channels">
        <source>Cli_IrConvert_Channels</source>
        <translation>%1 channels</translation>
    </message>
    <message id="Cli_IrConvert_Peak">
        <source>Cli_IrConvert_Peak</source>
        <translation>peak %1 dBFS</translation>
    </message>
    <message id="Cli_IrConvert_Silent">
        <source>Cli_IrConvert_Silent</source>
        <translation>silent</translation>
    </message>
    <message id="Cli_IrConvert_Clipped">
        <source>Cli_IrConvert_Clipped</source>
        <translation>%1 samples were beyond full scale and were clipped; --normalize -1 scales the copy instead.</translation>
    </message>
    <message id="Cli_Err_BadConvertChannel">
        <source>Cli_Err_BadConvertChannel</source>
        <translation>the channels must be "left", "right" or "both", not "%1".</translation>
    </message>
    <message id="Cli_Err_BadBits">
        <source>Cli_Err_BadBits</source>
        <translation>the sample size must be 16 or 24, not "%1".</translation>
    </message>
    <message id="Cli_Err_BadNormalize">
        <source>Cli_Err_BadNormalize</source>
        <translation>the level must be a number of dBFS of 0 or below, not "%1".</translation>
    </message>
    <message id="Cli_Err_OutputNotWav">
        <source>Cli_Err_OutputNotWav</source>
        <translation>the copy must be named .wav: "%1".</translation>
    </message>
    <message id="Cli_Err_OutputIsInput">
        <source>Cli_Err_OutputIsInput</source>
        <translation>the copy cannot replace the file converted: "%1".</translation>
    </message>
    <message id="Cli_Advice_ConvertExists">
        <source>Cli_Advice_ConvertExists</source>
        <translation>Give another name, or add --force to replace it.</translation>
    </message>
    <message id="Cli_Advice_ConvertChannel">
        <source>Cli_Advice_ConvertChannel</source>
        <translation>Choose the channels with --channel left, right or both.</translation>
    </message>
    <message id="ConvertForAmp_Menu">
        <source>ConvertForAmp_Menu</source>
        <translation>Convert for the amp…</translation>
    </message>
    <message id="Convert_Err_Unreadable">
        <source>Convert_Err_Unreadable</source>
        <translation>%1 cannot be read as audio: %2</translation>
    </message>
    <message id="Convert_Err_Empty">
        <source>Convert_Err_Empty</source>
        <translation>%1 holds no sound.</translation>
    </message>
    <message id="Convert_Err_NotFinite">
        <source>Convert_Err_NotFinite</source>
        <translation>%1 holds samples that are not numbers or are infinite.</translation>
    </message>
    <message id="Convert_Err_MissingChannel">
        <source>Convert_Err_MissingChannel</source>
        <translation>%1 has one channel only.</translation>
    </message>
    <message id="Convert_Err_TooManyChannels">
        <source>Convert_Err_TooManyChannels</source>
        <translation>%1 has %2 channels; the amplifier takes one or two.</translation>
    </message>
    <message id="Convert_Err_Silent">
        <source>Convert_Err_Silent</source>
        <translation>%1 is silent, so there is no peak to scale.</translation>
    </message>
    <message id="Convert_Err_Resample">
        <source>Convert_Err_Resample</source>
        <translation>%1 could not be resampled: %2</translation>
    </message>
    <message id="Convert_Err_Exists">
        <source>Convert_Err_Exists</source>
        <translation>%1 already exists.</translation>
    </message>
    <message id="Convert_Err_Write">
        <source>Convert_Err_Write</source>
        <translation>%1 could not be written: %2</translation>
    </message>
    <message id="Cli_Err_MissingArgument">
        <source>Cli_Err_MissingArgument</source>
        <translation>missing %1.</translation>
    </message>
    <message id="Cli_Err_BadAmp">
        <source>Cli_Err_BadAmp</source>
        <translation>AMP must be 1 (Amp I) or 2 (Amp II), not "%1".</translation>
    </message>
    <message id="Cli_Err_BadOnOff">
        <source>Cli_Err_BadOnOff</source>
        <translation>the value must be "on" or "off", not "%1".</translation>
    </message>
    <message id="Cli_Err_BadGain">
        <source>Cli_Err_BadGain</source>
        <translation>the gain must be a step of the gain knob: -30 to -10 dB in 1 dB steps or -10 to 0 dB in 0.5 dB steps (e.g. -12, -9.5, 0), not "%1".</translation>
    </message>
    <message id="Cli_Err_BadTimeout">
        <source>Cli_Err_BadTimeout</source>
        <translation>the timeout must be a whole number of milliseconds from 0 to 86400000, not "%1".</translation>
    </message>
    <message id="Cli_Err_EmptyMatch">
        <source>Cli_Err_EmptyMatch</source>
        <translation>the text given to --match must not be empty.</translation>
    </message>
    <message id="Cli_Err_BadSetting">
        <source>Cli_Err_BadSetting</source>
        <translation>unknown setting "%1": use booster, reverb, noise-gate, fx-loop, send-connection or return-connection.</translation>
    </message>
    <message id="Cli_Err_BadBooster">
        <source>Cli_Err_BadBooster</source>
        <translation>the booster must be white, green or amber, not "%1".</translation>
    </message>
    <message id="Cli_Err_BadReverb">
        <source>Cli_Err_BadReverb</source>
        <translation>the reverb must be spring, plate, room or hall, not "%1".</translation>
    </message>
    <message id="Cli_Err_BadNoiseGate">
        <source>Cli_Err_BadNoiseGate</source>
        <translation>the noise gate must be 0, 1, 2 or 3, not "%1".</translation>
    </message>
    <message id="Cli_Err_BadRow">
        <source>Cli_Err_BadRow</source>
        <translation>the connection must be a row number from 0 to 127, not "%1".</translation>
    </message>
    <message id="Cli_Err_EmptyName">
        <source>Cli_Err_EmptyName</source>
        <translation>the IR name must not be empty.</translation>
    </message>
    <message id="Cli_Err_ResetNeedsYes">
        <source>Cli_Err_ResetNeedsYes</source>
        <translation>this erases every stored impulse response of the amplifier; add --yes to go ahead.</translation>
    </message>
    <message id="Cli_Err_BadModel">
        <source>Cli_Err_BadModel</source>
        <translation>the model must be "single" or "dual", not "%1".</translation>
    </message>
    <message id="Cli_Err_BadFirmware">
        <source>Cli_Err_BadFirmware</source>
        <translation>the firmware version must be a whole number from 0 to 16383, not "%1".</translation>
    </message>
    <message id="Cli_Err_BadFault">
        <source>Cli_Err_BadFault</source>
        <translation>unknown fault "%1": use silent, reject-packet=0..9, fail-flash-write[=COUNT], corrupt-dumps=COUNT, no-reply=heartbeat|version|dump|flash-write|init|packet or delay=MS.</translation>
    </message>
    <message id="Cli_Err_NoMidiService">
        <source>Cli_Err_NoMidiService</source>
        <translation>no MIDI service could be opened: %1.
Start the ALSA sequencer ("sudo modprobe snd-seq") or a JACK server, or choose a service with --midi alsa|jack.</translation>
    </message>
    <message id="Cli_Err_NoAmplifier">
        <source>Cli_Err_NoAmplifier</source>
        <translation>no amplifier found on %1 within %3 ms: no MIDI port has "%2" in its name.
Switch the amplifier on and connect it by USB, then try again; if its ports have another name, give part of it with --match TEXT.</translation>
    </message>
    <message id="Cli_Err_AmpTypeChanged">
        <source>Cli_Err_AmpTypeChanged</source>
        <translation>the amp type of %1 was changed on the amplifier during the transfer, so it now plays a mix of two impulse responses; nothing was stored. Run the command again.</translation>
    </message>
    <message id="Cli_Err_ModelChanged">
        <source>Cli_Err_ModelChanged</source>
        <translation>another amplifier model answered on the same ports; the connection was dropped. Run the command again.</translation>
    </message>
    <message id="Cli_Err_AmplifierLost">
        <source>Cli_Err_AmplifierLost</source>
        <translation>the amplifier stopped answering (switched off or unplugged?); the connection was dropped.</translation>
    </message>
    <message id="Cli_Err_AmplifierSilent">
        <source>Cli_Err_AmplifierSilent</source>
        <translation>the amplifier's MIDI ports were found on %1, but it did not answer within %2 ms.
Switch the amplifier off and on again and check the USB cable; close any other program that talks to it.</translation>
    </message>
    <message id="Cli_Err_SingleAmpHead">
        <source>Cli_Err_SingleAmpHead</source>
        <translation>this is a single-amp head: it has only Amp I. Use AMP 1.</translation>
    </message>
    <message id="Cli_Err_NoFxLoopConnection">
        <source>Cli_Err_NoFxLoopConnection</source>
        <translation>this amplifier has no FX loop send/return connection setting: it needs the dual-amp head with main firmware 42 to 49 or above 109 (this one runs %1).</translation>
    </message>
    <message id="Cli_Err_SimulatorNoService">
        <source>Cli_Err_SimulatorNoService</source>
        <translation>the simulator could not appear on a MIDI service: %1.
Start the ALSA sequencer ("sudo modprobe snd-seq") or a JACK server, or choose a service with --midi alsa|jack.</translation>
    </message>
    <message id="Cli_Advice_MIDISend">
        <source>Cli_Advice_MIDISend</source>
        <translation>Check the USB connection, then run the command again.</translation>
    </message>
    <message id="Cli_Advice_ReceiveData">
        <source>Cli_Advice_ReceiveData</source>
        <translation>Run the command again; if the amplifier keeps refusing, switch it off and on.</translation>
    </message>
    <message id="Cli_Advice_FIRDataWrite">
        <source>Cli_Advice_FIRDataWrite</source>
        <translation>The stored impulse response may be incomplete: run the command again.</translation>
    </message>
    <message id="Cli_Advice_Timeout">
        <source>Cli_Advice_Timeout</source>
        <translation>Check that the amplifier is switched on and connected, then run the command again.</translation>
    </message>
    <message id="Cli_Advice_FIRFile">
        <source>Cli_Advice_FIRFile</source>
        <translation>Use a WAV or AIFF file of 44100 Hz with one or two channels of 16, 24 or 32 bits; "velkctl ir convert FILE" makes one from most audio files.</translation>
    </message>
    <message id="Cli_Advice_Unknown">
        <source>Cli_Advice_Unknown</source>
        <translation>Run the command again.</translation>
    </message>
    <message id="Cli_Progress_Packets">
        <source>Cli_Progress_Packets</source>
        <translation>%1: sending the impulse response, packet %2 of %3</translation>
    </message>
    <message id="Cli_Progress_FlashWrite">
        <source>Cli_Progress_FlashWrite</source>
        <translation>%1: writing into the amplifier's memory…</translation>
    </message>
    <message id="Cli_Progress_Reset">
        <source>Cli_Progress_Reset</source>
        <translation>Resetting the stored impulse responses…</translation>
    </message>
    <message id="Cli_Model_Single">
        <source>Cli_Model_Single</source>
        <translation>single-amp head (Amp I)</translation>
    </message>
    <message id="Cli_Model_Dual">
        <source>Cli_Model_Dual</source>
        <translation>dual-amp head (Amp I and Amp II)</translation>
    </message>
    <message id="Cli_Info_Model">
        <source>Cli_Info_Model</source>
        <translation>Model: %1</translation>
    </message>
    <message id="Cli_Info_MainVersion">
        <source>Cli_Info_MainVersion</source>
        <translation>Main firmware version: %1</translation>
    </message>
    <message id="Cli_Info_FxLoopConnectionAvailable">
        <source>Cli_Info_FxLoopConnectionAvailable</source>
        <translation>FX loop send/return connection setting: available</translation>
    </message>
    <message id="Cli_Info_FxLoopConnectionNotAvailable">
        <source>Cli_Info_FxLoopConnectionNotAvailable</source>
        <translation>FX loop send/return connection setting: not available</translation>
    </message>
    <message id="Cli_Dump_AmpType">
        <source>Cli_Dump_AmpType</source>
        <translation>  Amp type:    %1 (%2)</translation>
    </message>
    <message id="Cli_Dump_Booster">
        <source>Cli_Dump_Booster</source>
        <translation>  Booster:     %1</translation>
    </message>
    <message id="Cli_Dump_FxLoop">
        <source>Cli_Dump_FxLoop</source>
        <translation>  FX loop:     %1</translation>
    </message>
    <message id="Cli_Dump_Reverb">
        <source>Cli_Dump_Reverb</source>
        <translation>  Reverb:      %1</translation>
    </message>
    <message id="Cli_Dump_NoiseGate">
        <source>Cli_Dump_NoiseGate</source>
        <translation>  Noise gate:  %1</translation>
    </message>
    <message id="Cli_Dump_PlaysUnknownSlot">
        <source>Cli_Dump_PlaysUnknownSlot</source>
        <translation>  Plays:       %1 at %2 (no stored IR: the amp type is unknown)</translation>
    </message>
    <message id="Cli_AmpType_Unknown">
        <source>Cli_AmpType_Unknown</source>
        <translation>unknown</translation>
    </message>
    <message id="Cli_Dump_Plays">
        <source>Cli_Dump_Plays</source>
        <translation>  Plays:       stored IR %1, %2 at %3</translation>
    </message>
    <message id="Cli_Dump_SendConnection">
        <source>Cli_Dump_SendConnection</source>
        <translation>FX loop send connection:   %1</translation>
    </message>
    <message id="Cli_Dump_ReturnConnection">
        <source>Cli_Dump_ReturnConnection</source>
        <translation>FX loop return connection: %1</translation>
    </message>
    <message id="Cli_Dump_StoredIrs">
        <source>Cli_Dump_StoredIrs</source>
        <translation>Stored IRs:</translation>
    </message>
    <message id="Cli_Dump_StoredIr">
        <source>Cli_Dump_StoredIr</source>
        <translation>  %1  %2  %3  %4  %5</translation>
    </message>
    <message id="Cli_Dump_StoredIrAmpType">
        <source>Cli_Dump_StoredIrAmpType</source>
        <translation>amp type %1 (%2)</translation>
    </message>
    <message id="Cli_Set_AmpDone">
        <source>Cli_Set_AmpDone</source>
        <translation>%1 %2: %3</translation>
    </message>
    <message id="Cli_Set_Done">
        <source>Cli_Set_Done</source>
        <translation>%1: %2</translation>
    </message>
    <message id="Cli_IrPreview_Done">
        <source>Cli_IrPreview_Done</source>
        <translation>%1 plays %2 at %3 (a preview: nothing is stored).</translation>
    </message>
    <message id="Cli_IrInstall_Done">
        <source>Cli_IrInstall_Done</source>
        <translation>%1, amp type %2 (%3): stored IR %4 is now %5 at %6.</translation>
    </message>
    <message id="Cli_IrRename_Done">
        <source>Cli_IrRename_Done</source>
        <translation>%1, amp type %2 (%3): stored IR %4 is now %5 at %6.</translation>
    </message>
    <message id="Cli_IrRename_Unchanged">
        <source>Cli_IrRename_Unchanged</source>
        <translation>%1, amp type %2 (%3): stored IR %4 is already named %5 at %6; nothing was sent.</translation>
    </message>
    <message id="Cli_IrBypass_On">
        <source>Cli_IrBypass_On</source>
        <translation>%1: speaker simulation bypassed.</translation>
    </message>
    <message id="Cli_IrBypass_Off">
        <source>Cli_IrBypass_Off</source>
        <translation>%1 plays its stored impulse response again.</translation>
    </message>
    <message id="Cli_IrGain_Done">
        <source>Cli_IrGain_Done</source>
        <translation>%1: impulse response gain %2.</translation>
    </message>
    <message id="Cli_IrReset_Done">
        <source>Cli_IrReset_Done</source>
        <translation>Every stored impulse response is back to the factory's.</translation>
    </message>
    <message id="Cli_Simulate_Running">
        <source>Cli_Simulate_Running</source>
        <translation>Simulating the %1 as "%2" on %3. Stop with Ctrl-C.</translation>
    </message>
    <message id="Cli_DeviceOptions_Help">
        <source>Cli_DeviceOptions_Help</source>
        <translation>Device options (every command that talks to the amplifier):
--midi auto|alsa|jack   the MIDI service: the ALSA sequencer, JACK, or (auto, the default) the ALSA
                        sequencer when it can be opened and JACK otherwise.
--match TEXT            the amplifier is the first MIDI port whose name contains TEXT
                        (default "VelkSolvo/").
--timeout MS            how long to look for the amplifier, in milliseconds (default 10000).
--trace                 every System Exclusive message sent ("out") and received ("in") on stderr, in
                        hex, with the time of day.
--json                  print the result (or the error) as one line of JSON on stdout.
--help                  show this help.

The command connects as the editor does (opens the ports, waits for the heartbeat, asks for the
firmware version and reads the whole state), does its work and exits. On a terminal, long
operations show their progress on stderr.

Exit status: 0 done; 1 wrong arguments, or a request this amplifier cannot take; 2 the file cannot
be used; 3 no MIDI service, or no amplifier answered within the timeout; 4 the amplifier reported an
error or stopped answering. Errors are printed on stderr with what to do next; errors of the
amplifier and of files as "error CODE (KEY): TEXT". With --json, {"error":CODE,"key":"KEY"} is also
printed on stdout (CODE is null for errors of velkctl itself).</translation>
    </message>
    <message id="Cli_Info_Summary">
        <source>Cli_Info_Summary</source>
        <translation>Show the amplifier's model, main firmware version and whether it has the FX loop connection setting.</translation>
    </message>
    <message id="Cli_Info_Help">
        <source>Cli_Info_Help</source>
        <translation>Connects to the amplifier and prints its model (single-amp or dual-amp head), its main firmware
version, and whether the FX loop send/return connection setting is available (the dual-amp head
with main firmware 42 to 49 or above 109).

--json   {"model":"single"|"dual","amps":1|2,"mainVersion":N,"fxLoopConnection":true|false}</translation>
    </message>
    <message id="Cli_Dump_Summary">
        <source>Cli_Dump_Summary</source>
        <translation>Show the amplifier's whole state: effects, FX loop connections, stored IRs and what each amp plays.</translation>
    </message>
    <message id="Cli_Dump_Help">
        <source>Cli_Dump_Help</source>
        <translation>Reads the amplifier's whole state and prints, per amp, the amp type, booster, FX loop, reverb and
noise gate and the stored IR it plays now; the FX loop send and return connections (where the
amplifier has them); and every stored IR with its slot, amp, amp type, gain and name. Each amp type
of each amp has one stored IR: slot = (AMP - 1) x 5 + amp type.

--json   {"model","mainVersion","amps":[{"amp","ampType","booster","fxLoop","reverb","noiseGate",
         "playing":{IR}}],"fxLoopConnection":{"available","send","return"},"storedIrs":[{IR}]}
         where an IR is {"slot","amp","ampType","name","gain" (the amplifier's gain word),
         "gainDb"}.</translation>
    </message>
    <message id="Cli_Set_Summary">
        <source>Cli_Set_Summary</source>
        <translation>Change an effect setting of an amp, or the FX loop send or return connection.</translation>
    </message>
    <message id="Cli_Set_Help">
        <source>Cli_Set_Help</source>
        <translation>Sends one setting to the amplifier, as the effect settings panel and the settings window do.

AMP                         1 (Amp I) or 2 (Amp II; the dual-amp head only).
booster white|green|amber   the booster type.
reverb spring|plate|room|hall
                            the reverb type.
noise-gate 0..3             the noise gate.
fx-loop on|off              the FX loop.
send-connection ROW         the FX loop send connection, the row of the choice in the editor's
return-connection ROW       settings window (0 is the first); only where the amplifier has this
                            setting (see "velkctl info").

The amplifier does not confirm settings: velkctl waits until it has answered a request sent after
the setting.</translation>
    </message>
    <message id="Cli_IrPreview_Summary">
        <source>Cli_IrPreview_Summary</source>
        <translation>Play an impulse-response file on an amp without storing it.</translation>
    </message>
    <message id="Cli_IrPreview_Help">
        <source>Cli_IrPreview_Help</source>
        <translation>Loads FILE as the speaker simulation panel does and streams it into the amp's play buffer in ten
acknowledged packets; the amp plays it until another IR is played, the amp type changes or the
amplifier is switched off. Nothing is stored.

AMP                    1 (Amp I) or 2 (Amp II; the dual-amp head only).
FILE                   a .wav, .aif or .aiff file: 44100 Hz, one or two channels, 16, 24 or 32 bits;
                       its first 2048 frames are used.
--gain DB              the gain, on the gain knob's steps: -30 to -10 dB in 1 dB steps and -10 to
                       0 dB in 0.5 dB steps (default -12, the knob's start).
--channel left|right   the channel of a stereo file (default left).
--json                 {"amp","name","gainDb","stored":false}

A packet the amplifier refuses fails the command (exit 4, error 1002).</translation>
    </message>
    <message id="Cli_IrInstall_Summary">
        <source>Cli_IrInstall_Summary</source>
        <translation>Install an impulse-response file into the stored IR of an amp's current amp type.</translation>
    </message>
    <message id="Cli_IrInstall_Help">
        <source>Cli_IrInstall_Help</source>
        <translation>Previews FILE on the amp (see "velkctl ir preview") and then has the amplifier write what the amp
plays into its memory, as the stored IR of the amp's current amp type. Succeeds only when the
amplifier confirms the write.

AMP                    1 (Amp I) or 2 (Amp II; the dual-amp head only).
FILE                   a .wav, .aif or .aiff file: 44100 Hz, one or two channels, 16, 24 or 32 bits.
--gain DB              the gain, on the gain knob's steps (default -12).
--name NAME            the IR name (default: the file name without its extension); each non-ASCII
                       character becomes "?" and the name is cut to 63 bytes.
--channel left|right   the channel of a stereo file (default left).
--json                 {"amp","ampType","slot","name","gainDb","stored":true}

Nothing is written when the amplifier refuses a packet (exit 4, error 1002); a write the amplifier
reports as failed is exit 4, error 1003.</translation>
    </message>
    <message id="Cli_IrBypass_Summary">
        <source>Cli_IrBypass_Summary</source>
        <translation>Bypass an amp's speaker simulation, or play its stored IR again.</translation>
    </message>
    <message id="Cli_IrBypass_Help">
        <source>Cli_IrBypass_Help</source>
        <translation>on    streams a neutral impulse response (a unit impulse at 0 dB) into the amp's play buffer.
off   the amp plays the stored IR of its current amp type again.

AMP   1 (Amp I) or 2 (Amp II; the dual-amp head only).
--json   {"amp","bypass":true|false}</translation>
    </message>
    <message id="Cli_IrGain_Summary">
        <source>Cli_IrGain_Summary</source>
        <translation>Set the gain of the impulse response an amp plays.</translation>
    </message>
    <message id="Cli_IrGain_Help">
        <source>Cli_IrGain_Help</source>
        <translation>Sets the gain of what the amp plays now (a preview, or its stored IR until it is played again).
Nothing is stored.

AMP   1 (Amp I) or 2 (Amp II; the dual-amp head only).
DB    on the gain knob's steps: -30 to -10 dB in 1 dB steps, -10 to 0 dB in 0.5 dB steps.
--json   {"amp","gainDb"}</translation>
    </message>
    <message id="Cli_IrRename_Summary">
        <source>Cli_IrRename_Summary</source>
        <translation>Rename the stored IR of an amp's current amp type.</translation>
    </message>
    <message id="Cli_IrRename_Help">
        <source>Cli_IrRename_Help</source>
        <translation>Renames the stored IR of the amp's current amp type, as the IR name field of the speaker
simulation panel does: the amp leaves any preview and plays its stored IR, gets the new name, and
the amplifier writes it into its memory. A name equal to the current one sends nothing.

AMP    1 (Amp I) or 2 (Amp II; the dual-amp head only).
NAME   the new name; each non-ASCII character becomes "?" and the name is cut to 63 bytes.
--json   {"amp","ampType","slot","name","gainDb","stored":true}</translation>
    </message>
    <message id="Cli_IrReset_Summary">
        <source>Cli_IrReset_Summary</source>
        <translation>Reset every stored impulse response of the amplifier.</translation>
    </message>
    <message id="Cli_IrReset_Help">
        <source>Cli_IrReset_Help</source>
        <translation>Has the amplifier put every stored IR back to the factory's, then reads its state again. This
cannot be undone: --yes is required.

--json   {"reset":true}</translation>
    </message>
    <message id="Cli_Simulate_Summary">
        <source>Cli_Simulate_Summary</source>
        <translation>Run the amplifier simulator as a device on the MIDI service, until interrupted.</translation>
    </message>
    <message id="Cli_Simulate_Help">
        <source>Cli_Simulate_Help</source>
        <translation>Runs a simulated amplifier head as a MIDI device named "VelkSolvo/Single" or "VelkSolvo/Dual" on
the ALSA sequencer or JACK, so that the editor and velkctl can be tried without the hardware. It
answers as the head does, keeps what it is sent (settings, impulse responses, stored IRs) and, when
stopped with Ctrl-C (SIGINT) or SIGTERM, prints its final state on stdout (as "velkctl dump" prints
an amplifier, with every IR's coefficients under --json).

--model single|dual     the head (default dual).
--midi auto|alsa|jack   the MIDI service (default auto: the ALSA sequencer, else JACK).
--firmware VERSION      the main firmware version it reports (default 110).
--fault FAULT           a fault of the amplifier or the cable; repeat for several:
                          silent                  takes no message and answers nothing
                          reject-packet=N         refuses coefficient packet N (0 to 9)
                          fail-flash-write[=COUNT]
                                                  reports the next COUNT flash writes (all) as failed
                          corrupt-dumps=COUNT     sends the next COUNT state dumps damaged
                          no-reply=KIND           never answers KIND: heartbeat, version, dump,
                                                  flash-write, init or packet
                          delay=MS                answers everything MS milliseconds late
--trace                 every message received ("in") and sent ("out") on stderr, in hex.
--json                  the final state as JSON.

Exit status: 0 stopped; 1 wrong arguments; 3 no MIDI service to appear on.</translation>
    </message>
    <message id="Cli_Err_BadMidiService">
        <source>Cli_Err_BadMidiService</source>
        <translation>the MIDI service must be "auto", "alsa" or "jack", not "%1".</translation>
    </message>
    <message id="Cli_List_Summary">
        <source>Cli_List_Summary</source>
        <translation>List the MIDI sources and destinations, marking the amplifier's.</translation>
    </message>
    <message id="Cli_List_Help">
        <source>Cli_List_Help</source>
        <translation>Lists the MIDI sources (where the amplifier's replies come from) and destinations (where requests
go) of the MIDI service in use, each with the index that opens it, marking with "*" those whose name
contains "VelkSolvo/": the editor connects to the first such source and destination.

--midi auto|alsa|jack   the MIDI service: by default (auto) the ALSA sequencer when it can be opened,
                        else JACK when a server runs.
--json                  print one JSON object: {"service", "sources", "destinations"}, each endpoint
                        as {"index", "name", "amplifier"}; without a service, {"service":null,"reason"}.
--help                  show this help.

Exit status: 0 done, 1 wrong arguments, 3 no MIDI service (the reason is printed on stderr).</translation>
    </message>
    <message id="Cli_List_Service">
        <source>Cli_List_Service</source>
        <translation>MIDI service: %1</translation>
    </message>
    <message id="Cli_List_ServiceAlsa">
        <source>Cli_List_ServiceAlsa</source>
        <translation>ALSA sequencer</translation>
    </message>
    <message id="Cli_List_ServiceJack">
        <source>Cli_List_ServiceJack</source>
        <translation>JACK</translation>
    </message>
    <message id="Cli_List_ServiceVirtual">
        <source>Cli_List_ServiceVirtual</source>
        <translation>in-process</translation>
    </message>
    <message id="Cli_List_Sources">
        <source>Cli_List_Sources</source>
        <translation>Sources:</translation>
    </message>
    <message id="Cli_List_Destinations">
        <source>Cli_List_Destinations</source>
        <translation>Destinations:</translation>
    </message>
    <message id="Cli_List_None">
        <source>Cli_List_None</source>
        <translation>none</translation>
    </message>
    <message id="Cli_List_Mark">
        <source>Cli_List_Mark</source>
        <translation>* the amplifier's ports (names containing "%1")</translation>
    </message>
    <message id="Cli_List_NoService">
        <source>Cli_List_NoService</source>
        <translation>no MIDI service: %1.</translation>
    </message>
    <message id="AppName">
        <source>AppName</source>
        <translation>Velk Vovezid</translation>
    </message>
    <message id="Err_AlertDetail">
        <source>Err_AlertDetail</source>
        <translation>Error %1</translation>
    </message>
    <message id="Tab_EffectSettingsAmpI">
        <source>Tab_EffectSettingsAmpI</source>
        <translation>Effects · Amp I</translation>
    </message>
    <message id="Tab_EffectSettingsAmpII">
        <source>Tab_EffectSettingsAmpII</source>
        <translation>Effects · Amp II</translation>
    </message>
    <message id="Tab_SpeakerSimulationAmpI">
        <source>Tab_SpeakerSimulationAmpI</source>
        <translation>Speaker Simulation · Amp I</translation>
    </message>
    <message id="Tab_SpeakerSimulationAmpII">
        <source>Tab_SpeakerSimulationAmpII</source>
        <translation>Speaker Simulation · Amp II</translation>
    </message>
    <message id="Status_Opened">
        <source>Status_Opened</source>
        <translation>Amplifier found; waiting for it to answer…</translation>
    </message>
    <message id="Status_ConnectedSingle">
        <source>Status_ConnectedSingle</source>
        <translation>Connected to the single-amp head.</translation>
    </message>
    <message id="Status_ConnectedDual">
        <source>Status_ConnectedDual</source>
        <translation>Connected to the dual-amp head.</translation>
    </message>
    <message id="Status_ReadingSingle">
        <source>Status_ReadingSingle</source>
        <translation>Connected to the single-amp head (firmware %1); reading its settings…</translation>
    </message>
    <message id="Status_ReadingDual">
        <source>Status_ReadingDual</source>
        <translation>Connected to the dual-amp head (firmware %1); reading its settings…</translation>
    </message>
    <message id="Status_ReadySingle">
        <source>Status_ReadySingle</source>
        <translation>Connected to the single-amp head (firmware %1).</translation>
    </message>
    <message id="Status_ReadyDual">
        <source>Status_ReadyDual</source>
        <translation>Connected to the dual-amp head (firmware %1).</translation>
    </message>
    <message id="Status_Disconnected">
        <source>Status_Disconnected</source>
        <translation>The amplifier stopped answering; searching again…</translation>
    </message>
    <message id="Status_NoMidiService">
        <source>Status_NoMidiService</source>
        <translation>No MIDI service is available: %1. Load the ALSA sequencer (sudo modprobe snd-seq) or start a JACK server; or start the editor with --simulate dual to try it without an amplifier.</translation>
    </message>
    <message id="Status_Simulated">
        <source>Status_Simulated</source>
        <translation>Simulated amplifier</translation>
    </message>
    <message id="BoosterWhiteLabel">
        <source>BoosterWhiteLabel</source>
        <translation>White booster</translation>
    </message>
    <message id="BoosterGreenLabel">
        <source>BoosterGreenLabel</source>
        <translation>Green booster</translation>
    </message>
    <message id="BoosterAmberLabel">
        <source>BoosterAmberLabel</source>
        <translation>Amber booster</translation>
    </message>
    <message id="ReverbSpringLabel">
        <source>ReverbSpringLabel</source>
        <translation>Spring reverb</translation>
    </message>
    <message id="ReverbPlateLabel">
        <source>ReverbPlateLabel</source>
        <translation>Plate reverb</translation>
    </message>
    <message id="ReverbRoomLabel">
        <source>ReverbRoomLabel</source>
        <translation>Room reverb</translation>
    </message>
    <message id="ReverbHallLabel">
        <source>ReverbHallLabel</source>
        <translation>Hall reverb</translation>
    </message>
    <message id="AmpName0">
        <source>AmpName0</source>
        <translation>Amp I</translation>
    </message>
    <message id="AmpName1">
        <source>AmpName1</source>
        <translation>Amp II</translation>
    </message>
    <message id="Control_ToolTip">
        <source>Control_ToolTip</source>
        <translation>%1 (%2)</translation>
    </message>
    <message id="Control_FxLoop">
        <source>Control_FxLoop</source>
        <translation>%1 FX loop</translation>
    </message>
    <message id="Control_NoiseGate">
        <source>Control_NoiseGate</source>
        <translation>%1 noise gate</translation>
    </message>
    <message id="Control_Booster">
        <source>Control_Booster</source>
        <translation>%1 booster: %2</translation>
    </message>
    <message id="Control_Reverb">
        <source>Control_Reverb</source>
        <translation>%1 reverb: %2</translation>
    </message>
    <message id="Value_On">
        <source>Value_On</source>
        <translation>on</translation>
    </message>
    <message id="Value_Off">
        <source>Value_Off</source>
        <translation>off</translation>
    </message>
    <message id="NoiseGate0">
        <source>NoiseGate0</source>
        <translation>off</translation>
    </message>
    <message id="NoiseGate1">
        <source>NoiseGate1</source>
        <translation>low</translation>
    </message>
    <message id="NoiseGate2">
        <source>NoiseGate2</source>
        <translation>mid</translation>
    </message>
    <message id="NoiseGate3">
        <source>NoiseGate3</source>
        <translation>high</translation>
    </message>
    <message id="BoosterType0">
        <source>BoosterType0</source>
        <translation>white</translation>
    </message>
    <message id="BoosterType1">
        <source>BoosterType1</source>
        <translation>green</translation>
    </message>
    <message id="BoosterType2">
        <source>BoosterType2</source>
        <translation>amber</translation>
    </message>
    <message id="ReverbType0">
        <source>ReverbType0</source>
        <translation>spring</translation>
    </message>
    <message id="ReverbType1">
        <source>ReverbType1</source>
        <translation>plate</translation>
    </message>
    <message id="ReverbType2">
        <source>ReverbType2</source>
        <translation>room</translation>
    </message>
    <message id="ReverbType3">
        <source>ReverbType3</source>
        <translation>hall</translation>
    </message>
    <message id="AmpType0">
        <source>AmpType0</source>
        <translation>Clean</translation>
    </message>
    <message id="AmpType1">
        <source>AmpType1</source>
        <translation>Crunch</translation>
    </message>
    <message id="AmpType2">
        <source>AmpType2</source>
        <translation>Drive</translation>
    </message>
    <message id="AmpType3">
        <source>AmpType3</source>
        <translation>Lead</translation>
    </message>
    <message id="AmpType4">
        <source>AmpType4</source>
        <translation>High Gain</translation>
    </message>
    <message id="AskPrimaryCh_Message">
        <source>AskPrimaryCh_Message</source>
        <translation>This impulse response file is stereo.</translation>
    </message>
    <message id="AskPrimaryCh_Info">
        <source>AskPrimaryCh_Info</source>
        <translation>Which of its channels should the amplifier use?</translation>
    </message>
    <message id="AskPrimaryCh_Button_L_CH">
        <source>AskPrimaryCh_Button_L_CH</source>
        <translation>Left Channel</translation>
    </message>
    <message id="AskPrimaryCh_Button_R_CH">
        <source>AskPrimaryCh_Button_R_CH</source>
        <translation>Right Channel</translation>
    </message>
    <message id="SelectFolder_Title">
        <source>SelectFolder_Title</source>
        <translation>Choose a Folder of Impulse Responses</translation>
    </message>
    <message id="ResetIRDataTitle">
        <source>ResetIRDataTitle</source>
        <translation>Reset all impulse responses?</translation>
    </message>
    <message id="ResetIRDataMessage">
        <source>ResetIRDataMessage</source>
        <translation>Every impulse response stored in the amplifier is replaced by its factory setting. This cannot be undone.</translation>
    </message>
    <message id="OK">
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message id="Cancel">
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message id="Art_Channel">
        <source>Art_Channel</source>
        <translation>CHANNEL</translation>
    </message>
    <message id="Art_AmpI">
        <source>Art_AmpI</source>
        <translation>AMP I</translation>
    </message>
    <message id="Art_AmpII">
        <source>Art_AmpII</source>
        <translation>AMP II</translation>
    </message>
    <message id="Art_FxLoop">
        <source>Art_FxLoop</source>
        <translation>FX LOOP</translation>
    </message>
    <message id="Art_On">
        <source>Art_On</source>
        <translation>ON</translation>
    </message>
    <message id="Art_NoiseGate">
        <source>Art_NoiseGate</source>
        <translation>NOISE GATE</translation>
    </message>
    <message id="Art_NoiseGateOff">
        <source>Art_NoiseGateOff</source>
        <translation>OFF</translation>
    </message>
    <message id="Art_NoiseGateLow">
        <source>Art_NoiseGateLow</source>
        <translation>LOW</translation>
    </message>
    <message id="Art_NoiseGateMid">
        <source>Art_NoiseGateMid</source>
        <translation>MID</translation>
    </message>
    <message id="Art_NoiseGateHigh">
        <source>Art_NoiseGateHigh</source>
        <translation>HIGH</translation>
    </message>
    <message id="Art_Booster">
        <source>Art_Booster</source>
        <translation>BOOSTER</translation>
    </message>
    <message id="Art_Reverb">
        <source>Art_Reverb</source>
        <translation>REVERB</translation>
    </message>
    <message id="Art_White">
        <source>Art_White</source>
        <translation>WHITE</translation>
    </message>
    <message id="Art_Green">
        <source>Art_Green</source>
        <translation>GREEN</translation>
    </message>
    <message id="Art_Amber">
        <source>Art_Amber</source>
        <translation>AMBER</translation>
    </message>
    <message id="Art_Spring">
        <source>Art_Spring</source>
        <translation>SPRING</translation>
    </message>
    <message id="Art_Plate">
        <source>Art_Plate</source>
        <translation>PLATE</translation>
    </message>
    <message id="Art_Room">
        <source>Art_Room</source>
        <translation>ROOM</translation>
    </message>
    <message id="Art_Hall">
        <source>Art_Hall</source>
        <translation>HALL</translation>
    </message>
    <message id="Art_StoredIr">
        <source>Art_StoredIr</source>
        <translation>IMPULSE RESPONSE IN THE AMP</translation>
    </message>
    <message id="Art_AmpType">
        <source>Art_AmpType</source>
        <translation>AMP TYPE</translation>
    </message>
    <message id="Art_IrName">
        <source>Art_IrName</source>
        <translation>IR NAME</translation>
    </message>
    <message id="Art_IrGain">
        <source>Art_IrGain</source>
        <translation>IR GAIN</translation>
    </message>
    <message id="Art_IrFiles">
        <source>Art_IrFiles</source>
        <translation>IMPULSE RESPONSE FILES</translation>
    </message>
    <message id="Art_Gain">
        <source>Art_Gain</source>
        <translation>PREVIEW GAIN</translation>
    </message>
    <message id="Art_Bypass">
        <source>Art_Bypass</source>
        <translation>BYPASS</translation>
    </message>
    <message id="Art_Install">
        <source>Art_Install</source>
        <translation>INSTALL</translation>
    </message>
    <message id="Art_InstallHint">
        <source>Art_InstallHint</source>
        <translation>STORE IN THE AMP</translation>
    </message>
    <message id="Launch_Description">
        <source>Launch_Description</source>
        <translation>Editor for the Velk amplifier heads over USB-MIDI.</translation>
    </message>
    <message id="Launch_Simulate">
        <source>Launch_Simulate</source>
        <translation>Run against the built-in simulated amplifier, a single-amp or dual-amp head, instead of a real one.</translation>
    </message>
    <message id="Launch_Midi">
        <source>Launch_Midi</source>
        <translation>The MIDI service to look for the amplifier on: auto (ALSA, else JACK), alsa or jack.</translation>
    </message>
    <message id="Launch_Screenshot">
        <source>Launch_Screenshot</source>
        <translation>Draw the main window into a PNG file once the amplifier's settings have been read, then quit.</translation>
    </message>
    <message id="Launch_Tab">
        <source>Launch_Tab</source>
        <translation>Show the Nth tab (1 to 4, left to right) once the amplifier is found.</translation>
    </message>
    <message id="Launch_Open">
        <source>Launch_Open</source>
        <translation>Open an impulse-response file or folder in the speaker simulation panel once the amplifier's settings have been read, as if it were dropped there; may be given more than once.</translation>
    </message>
    <message id="Launch_BadTab">
        <source>Launch_BadTab</source>
        <translation>--tab takes a tab's position, 1 to 4, not “%1”.</translation>
    </message>
    <message id="Launch_BadSimulate">
        <source>Launch_BadSimulate</source>
        <translation>--simulate takes single or dual, not “%1”.</translation>
    </message>
    <message id="Launch_BadMidi">
        <source>Launch_BadMidi</source>
        <translation>--midi takes auto, alsa or jack, not “%1”.</translation>
    </message>
    <message id="Launch_EffectBlock">
        <source>Launch_EffectBlock</source>
        <translation>With --simulate: the simulated head's effect settings, its 16-byte effect block as 32 hex digits (Amp I from byte 0, Amp II from byte 8: amp type, booster, FX loop, reverb, noise gate).</translation>
    </message>
    <message id="Launch_BadEffectBlock">
        <source>Launch_BadEffectBlock</source>
        <translation>--effect-block takes 32 hex digits, 16 bytes of 00 to 7F, together with --simulate, not “%1”.</translation>
    </message>
    <message id="Launch_ScreenshotFailed">
        <source>Launch_ScreenshotFailed</source>
        <translation>The screenshot could not be written to %1.</translation>
    </message>
    <message id="Menu_Simulator">
        <source>Menu_Simulator</source>
        <translation>&amp;Simulator</translation>
    </message>
    <message id="Menu_Simulator_Unplug">
        <source>Menu_Simulator_Unplug</source>
        <translation>&amp;Unplug the Amplifier</translation>
    </message>
    <message id="Menu_Simulator_Plug">
        <source>Menu_Simulator_Plug</source>
        <translation>&amp;Plug the Amplifier In</translation>
    </message>
    <message id="Menu_File">
        <source>Menu_File</source>
        <translation>&amp;File</translation>
    </message>
    <message id="Menu_View">
        <source>Menu_View</source>
        <translation>&amp;View</translation>
    </message>
    <message id="Menu_Help">
        <source>Menu_Help</source>
        <translation>&amp;Help</translation>
    </message>
    <message id="Menu_Settings">
        <source>Menu_Settings</source>
        <translation>&amp;Settings…</translation>
    </message>
    <message id="Menu_Quit">
        <source>Menu_Quit</source>
        <translation>&amp;Quit</translation>
    </message>
    <message id="Menu_About">
        <source>Menu_About</source>
        <translation>&amp;About Velk Vovezid</translation>
    </message>
    <message id="About_Text">
        <source>About_Text</source>
        <translation>Version %1. An editor for the VelkSolvo amplifier heads, licensed under the %2. Home: %3</translation>
    </message>
    <message id="Settings_Title">
        <source>Settings_Title</source>
        <translation>Settings</translation>
    </message>
    <message id="Settings_SendConnection">
        <source>Settings_SendConnection</source>
        <translation>FX Loop Send</translation>
    </message>
    <message id="Settings_ReturnConnection">
        <source>Settings_ReturnConnection</source>
        <translation>FX Loop Return</translation>
    </message>
    <message id="Settings_ConnectionAmpI">
        <source>Settings_ConnectionAmpI</source>
        <translation>Amp I</translation>
    </message>
    <message id="Settings_ConnectionAmpII">
        <source>Settings_ConnectionAmpII</source>
        <translation>Amp II</translation>
    </message>
    <message id="Settings_ConnectionBoth">
        <source>Settings_ConnectionBoth</source>
        <translation>Amp I and Amp II</translation>
    </message>
    <message id="Settings_PrimaryChannel">
        <source>Settings_PrimaryChannel</source>
        <translation>Channel of stereo impulse responses</translation>
    </message>
    <message id="Settings_ChannelLeft">
        <source>Settings_ChannelLeft</source>
        <translation>Left</translation>
    </message>
    <message id="Settings_ChannelRight">
        <source>Settings_ChannelRight</source>
        <translation>Right</translation>
    </message>
    <message id="Settings_ChannelAsk">
        <source>Settings_ChannelAsk</source>
        <translation>Ask for each file</translation>
    </message>
    <message id="Settings_Midi">
        <source>Settings_Midi</source>
        <translation>MIDI connection</translation>
    </message>
    <message id="Settings_MidiService">
        <source>Settings_MidiService</source>
        <translation>Service:</translation>
    </message>
    <message id="Settings_MidiDevice">
        <source>Settings_MidiDevice</source>
        <translation>Device:</translation>
    </message>
    <message id="Settings_MidiServiceAuto">
        <source>Settings_MidiServiceAuto</source>
        <translation>Automatic (ALSA, else JACK)</translation>
    </message>
    <message id="Settings_MidiServiceAlsa">
        <source>Settings_MidiServiceAlsa</source>
        <translation>ALSA sequencer</translation>
    </message>
    <message id="Settings_MidiServiceJack">
        <source>Settings_MidiServiceJack</source>
        <translation>JACK</translation>
    </message>
    <message id="Settings_MidiDeviceHelp">
        <source>Settings_MidiDeviceHelp</source>
        <translation>The amplifier is the first device whose port names contain this text. Pick a device present now or type the text.</translation>
    </message>
    <message id="Settings_ResetIRs">
        <source>Settings_ResetIRs</source>
        <translation>Reset Stored IRs…</translation>
    </message>
    <message id="Sysex_Unknown">
        <source>Sysex_Unknown</source>
        <translation>not a message of the amplifier</translation>
    </message>
    <message id="Sysex_HeartBeat">
        <source>Sysex_HeartBeat</source>
        <translation>heartbeat</translation>
    </message>
    <message id="Sysex_HeartBeatSingle">
        <source>Sysex_HeartBeatSingle</source>
        <translation>heartbeat reply, single-amp head</translation>
    </message>
    <message id="Sysex_HeartBeatDual">
        <source>Sysex_HeartBeatDual</source>
        <translation>heartbeat reply, dual-amp head</translation>
    </message>
    <message id="Sysex_HeartBeatOther">
        <source>Sysex_HeartBeatOther</source>
        <translation>heartbeat reply, unknown model %1</translation>
    </message>
    <message id="Sysex_MainVersionRequest">
        <source>Sysex_MainVersionRequest</source>
        <translation>firmware version request</translation>
    </message>
    <message id="Sysex_MainVersion">
        <source>Sysex_MainVersion</source>
        <translation>firmware version %1</translation>
    </message>
    <message id="Sysex_DumpRequest">
        <source>Sysex_DumpRequest</source>
        <translation>dump request %1</translation>
    </message>
    <message id="Sysex_Dump">
        <source>Sysex_Dump</source>
        <translation>dump %1</translation>
    </message>
    <message id="Sysex_DamagedDump">
        <source>Sysex_DamagedDump</source>
        <translation>dump %1, damaged (size or checksum wrong)</translation>
    </message>
    <message id="Sysex_AmpTypeChanged">
        <source>Sysex_AmpTypeChanged</source>
        <translation>Amp %1 amp type turned to %2</translation>
    </message>
    <message id="Sysex_Booster">
        <source>Sysex_Booster</source>
        <translation>Amp %1 booster type %2</translation>
    </message>
    <message id="Sysex_FxLoop">
        <source>Sysex_FxLoop</source>
        <translation>Amp %1 FX loop %2</translation>
    </message>
    <message id="Sysex_Reverb">
        <source>Sysex_Reverb</source>
        <translation>Amp %1 reverb type %2</translation>
    </message>
    <message id="Sysex_NoiseGate">
        <source>Sysex_NoiseGate</source>
        <translation>Amp %1 noise gate %2</translation>
    </message>
    <message id="Sysex_SendConnection">
        <source>Sysex_SendConnection</source>
        <translation>FX loop send connection %1</translation>
    </message>
    <message id="Sysex_ReturnConnection">
        <source>Sysex_ReturnConnection</source>
        <translation>FX loop return connection %1</translation>
    </message>
    <message id="Sysex_SelectStoredIr">
        <source>Sysex_SelectStoredIr</source>
        <translation>Amp %1 plays stored IR %2</translation>
    </message>
    <message id="Sysex_IrNameCharacter">
        <source>Sysex_IrNameCharacter</source>
        <translation>Amp %1 IR name, character %2 is %3</translation>
    </message>
    <message id="Sysex_IrGain">
        <source>Sysex_IrGain</source>
        <translation>Amp %1 IR gain %2</translation>
    </message>
    <message id="Sysex_FlashWrite">
        <source>Sysex_FlashWrite</source>
        <translation>flash write, Amp %1 into slot %2</translation>
    </message>
    <message id="Sysex_InitIrData">
        <source>Sysex_InitIrData</source>
        <translation>reset of all stored IRs</translation>
    </message>
    <message id="Sysex_CoefficientPacket">
        <source>Sysex_CoefficientPacket</source>
        <translation>coefficient packet %1 of %2 for Amp %3</translation>
    </message>
    <message id="Sysex_DamagedCoefficientPacket">
        <source>Sysex_DamagedCoefficientPacket</source>
        <translation>coefficient packet %1 of %2 for Amp %3, damaged (size or checksum wrong)</translation>
    </message>
    <message id="Sysex_PacketAccepted">
        <source>Sysex_PacketAccepted</source>
        <translation>coefficient packet %1 of %2, accepted</translation>
    </message>
    <message id="Sysex_PacketRejected">
        <source>Sysex_PacketRejected</source>
        <translation>coefficient packet %1 of %2, rejected</translation>
    </message>
    <message id="Sysex_FlashWriteDone">
        <source>Sysex_FlashWriteDone</source>
        <translation>flash write done</translation>
    </message>
    <message id="Sysex_FlashWriteFailed">
        <source>Sysex_FlashWriteFailed</source>
        <translation>flash write failed</translation>
    </message>
    <message id="Sysex_IrDataInitialized">
        <source>Sysex_IrDataInitialized</source>
        <translation>stored IRs reset</translation>
    </message>
    <message id="Monitor_Title">
        <source>Monitor_Title</source>
        <translation>MIDI Monitor</translation>
    </message>
    <message id="Monitor_Pause">
        <source>Monitor_Pause</source>
        <translation>Pause</translation>
    </message>
    <message id="Monitor_Clear">
        <source>Monitor_Clear</source>
        <translation>Clear</translation>
    </message>
    <message id="Monitor_Copy">
        <source>Monitor_Copy</source>
        <translation>Copy as Text</translation>
    </message>
    <message id="Monitor_Save">
        <source>Monitor_Save</source>
        <translation>Save…</translation>
    </message>
    <message id="Monitor_SaveTitle">
        <source>Monitor_SaveTitle</source>
        <translation>Save the MIDI traffic</translation>
    </message>
    <message id="Monitor_SaveFailed">
        <source>Monitor_SaveFailed</source>
        <translation>Could not save to %1: %2</translation>
    </message>
    <message id="Menu_MidiMonitor">
        <source>Menu_MidiMonitor</source>
        <translation>&amp;MIDI Monitor</translation>
    </message>
    <message id="Status_NoDevice">
        <source>Status_NoDevice</source>
        <translation>No MIDI device whose name contains “%1” answers. Connect the amplifier and switch it on, or open File › Settings… to choose its device; start the editor with --simulate dual to try it without an amplifier.</translation>
    </message>
</context>
</TS>
