<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="zh_CN">
<context>
    <name>RecordWidget</name>
    <message>
        <source>RecordWidget</source>
        <translation>Recording</translation>
    </message>
    <message>
        <source>保存文件</source>
        <translation>Save file</translation>
    </message>
</context>
<context>
    <name>Trans</name>
    <message>
        <source>TargetLanguage</source>
        <translation>English</translation>
    </message>
</context>
<context>
    <name>WaveformWidget</name>
    <message>
        <source>Form</source>
        <translation>Waveform</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>设备已连接</source>
        <translation>Device connected</translation>
    </message>
    <message>
        <source>设备未连接</source>
        <translation>No device found</translation>
    </message>
</context>
</TS>
