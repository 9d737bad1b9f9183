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
        <translation>The file could not be opened, or it is not a WAV or AIFF file.</translation>
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
</context>
</TS>
