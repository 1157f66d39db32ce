<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="zh_CN">
<context>
    <name>BackgroundOffer</name>
    <message>
        <source>程序运行时才能恢复设置。
是否同时开启后台运行？</source>
        <translation>Only a running program restores the settings. Keep it running in the background?</translation>
    </message>
    <message>
        <source>开启</source>
        <translation>Turn on</translation>
    </message>
    <message>
        <source>暂不</source>
        <translation>Not now</translation>
    </message>
</context>
<context>
    <name>BtnNaviga</name>
    <message>
        <source>关</source>
        <translation>OFF</translation>
    </message>
</context>
<context>
    <name>PageHardwareSet_vx01</name>
    <message>
        <source>功能开关</source>
        <translation>FUNCTION SWITCH</translation>
    </message>
    <message>
        <source>蓝牙开关</source>
        <translation>BT</translation>
    </message>
    <message>
        <source>内放开关</source>
        <translation>LOOPBACK</translation>
    </message>
    <message>
        <source>降噪开关</source>
        <translation>DENOISE</translation>
    </message>
    <message>
        <source>消音开关</source>
        <translation>VOCAL CUT</translation>
    </message>
    <message>
        <source>闪避设置</source>
        <translation>DODGE</translation>
    </message>
    <message>
        <source>闪避</source>
        <translation>DODGE</translation>
    </message>
    <message>
        <source>闪避速度</source>
        <translation>SPEED</translation>
    </message>
    <message>
        <source>闪避门限</source>
        <translation>THRESHOLD</translation>
    </message>
    <message>
        <source>闪避等级</source>
        <translation>LEVEL</translation>
    </message>
</context>
<context>
    <name>PageHardwareSet_vx02</name>
    <message>
        <source>功能开关</source>
        <translation>Function switch</translation>
    </message>
    <message>
        <source>内放开关</source>
        <translation>LOOPBACK</translation>
    </message>
    <message>
        <source>耳返</source>
        <translation>DIRECT</translation>
    </message>
    <message>
        <source>闪避</source>
        <translation>DODGE</translation>
    </message>
    <message>
        <source>降噪</source>
        <translation>DENOISE</translation>
    </message>
</context>
<context>
    <name>PageSeting</name>
    <message>
        <source>设置</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>通用设置</source>
        <translation>General</translation>
    </message>
    <message>
        <source>关于我们</source>
        <translation>About</translation>
    </message>
    <message>
        <source>帮助中心</source>
        <translation>Help</translation>
    </message>
</context>
<context>
    <name>PageSoundChoice_vx01</name>
    <message>
        <source>模式选择</source>
        <translation>MODE</translation>
    </message>
    <message>
        <source>音乐</source>
        <translation>MUSIC</translation>
    </message>
    <message>
        <source>唱歌</source>
        <translation>SING</translation>
    </message>
    <message>
        <source>聊天</source>
        <translation>CHAT</translation>
    </message>
    <message>
        <source>混响模式</source>
        <translation>REVERB</translation>
    </message>
    <message>
        <source>大</source>
        <translation>LARGE</translation>
    </message>
    <message>
        <source>中</source>
        <translation>MEDIUM</translation>
    </message>
    <message>
        <source>小</source>
        <translation>SMALL</translation>
    </message>
    <message>
        <source>混响音量</source>
        <translation>VOL</translation>
    </message>
    <message>
        <source>混响强度</source>
        <translation>ECHO</translation>
    </message>
</context>
<context>
    <name>PageSoundChoice_vx02</name>
    <message>
        <source>直播</source>
        <translation>LIVE</translation>
    </message>
    <message>
        <source>喊麦</source>
        <translation>SHOUT</translation>
    </message>
    <message>
        <source>唱歌</source>
        <translation>SING</translation>
    </message>
    <message>
        <source>聊天</source>
        <translation>CHAT</translation>
    </message>
    <message>
        <source>主持</source>
        <translation>HOST</translation>
    </message>
    <message>
        <source>男生</source>
        <translation>BOY</translation>
    </message>
    <message>
        <source>女生</source>
        <translation>GIRL</translation>
    </message>
    <message>
        <source>童声</source>
        <translation>CHILD</translation>
    </message>
    <message>
        <source>机器人</source>
        <translation>ROBOT</translation>
    </message>
    <message>
        <source>电话声</source>
        <translation>PHONE</translation>
    </message>
    <message>
        <source>怪兽</source>
        <translation>WARCRAFT</translation>
    </message>
    <message>
        <source>混响效果</source>
        <translation>REVERB EFFECT</translation>
    </message>
    <message>
        <source>混响强度</source>
        <translation>ECHO</translation>
    </message>
    <message>
        <source>听湿录干</source>
        <translation>MIX DRY</translation>
    </message>
    <message>
        <source>变声效果</source>
        <translation>VOICE CHANGER</translation>
    </message>
    <message>
        <source>电音效果</source>
        <translation>ELECTRO</translation>
    </message>
    <message>
        <source>BGM音效</source>
        <translation>BGM</translation>
    </message>
    <message>
        <source>按 F2 键重命名</source>
        <translation>Press F2 to rename</translation>
    </message>
</context>
<context>
    <name>PageVolumeSet_vx01</name>
    <message>
        <source>监听音量</source>
        <translation>MONITOR</translation>
    </message>
    <message>
        <source>录音音量</source>
        <translation>REC VOL</translation>
    </message>
    <message>
        <source>音箱音量</source>
        <translation>OUT VOL</translation>
    </message>
    <message>
        <source>话筒音量</source>
        <translation>MIC VOL</translation>
    </message>
    <message>
        <source>话筒音色</source>
        <translation>GAIN</translation>
    </message>
</context>
<context>
    <name>PageVolumeSet_vx02</name>
    <message>
        <source>监听音量</source>
        <translation>MONITOR</translation>
    </message>
    <message>
        <source>录音音量</source>
        <translation>REC VOL</translation>
    </message>
    <message>
        <source>音箱音量</source>
        <translation>OUT VOL</translation>
    </message>
    <message>
        <source>直播音量</source>
        <translation>LIVE VOL</translation>
    </message>
    <message>
        <source>BGM音量</source>
        <translation>BGM VOL</translation>
    </message>
</context>
<context>
    <name>PanelesRight</name>
    <message>
        <source>设备未连接</source>
        <translation>No device found</translation>
    </message>
    <message>
        <source>设备已连接</source>
        <translation>Device connected</translation>
    </message>
    <message>
        <source>设备无响应</source>
        <translation>Device not responding</translation>
    </message>
    <message>
        <source>请用 USB 线把调音台连接到电脑</source>
        <translation>Connect the mixer to this computer with a USB cable</translation>
    </message>
    <message>
        <source>录音</source>
        <translation>Recording</translation>
    </message>
</context>
<context>
    <name>PanelesTitle</name>
    <message>
        <source>设置</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>最小化</source>
        <translation>Minimize</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>PanelsLeft</name>
    <message>
        <source>硬件设置</source>
        <translation>HARDWARE</translation>
    </message>
    <message>
        <source>音量设置 </source>
        <translation>VOLUME </translation>
    </message>
    <message>
        <source>音效选择</source>
        <translation>SOUND EFFECT</translation>
    </message>
</context>
<context>
    <name>PresetButton</name>
    <message>
        <source>预设</source>
        <translation>Presets</translation>
    </message>
    <message>
        <source>预设：%1</source>
        <translation>Presets: %1</translation>
    </message>
</context>
<context>
    <name>PresetChanges</name>
    <message>
        <source>选择一个预设，查看应用它会改变哪些设置</source>
        <translation>Choose a preset to see what applying it changes</translation>
    </message>
    <message>
        <source>“%1”与设备现在的设置相同</source>
        <translation>&quot;%1&quot; matches the device&apos;s settings now</translation>
    </message>
    <message>
        <source>应用“%1”会改变：</source>
        <translation>Applying &quot;%1&quot; changes:</translation>
    </message>
</context>
<context>
    <name>PresetFileDialog</name>
    <message>
        <source>导出预设</source>
        <translation>Export preset</translation>
    </message>
    <message>
        <source>导入预设</source>
        <translation>Import preset</translation>
    </message>
    <message>
        <source>预设 (*.json)</source>
        <translation>Presets (*.json)</translation>
    </message>
</context>
<context>
    <name>PresetPrompt</name>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>请输入预设的名称</source>
        <translation>Type a name for the preset</translation>
    </message>
    <message>
        <source>名称中不能有 %1 或 %2</source>
        <translation>A name cannot contain %1 or %2</translation>
    </message>
    <message>
        <source>名称不能以 . 开头</source>
        <translation>A name cannot start with a dot</translation>
    </message>
    <message>
        <source>名称中不能有控制字符</source>
        <translation>A name cannot contain control characters</translation>
    </message>
    <message>
        <source>名称最多 48 个字符</source>
        <translation>A name has at most 48 characters</translation>
    </message>
    <message>
        <source>已有同名的预设</source>
        <translation>A preset of that name exists</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>PresetRow</name>
    <message>
        <source>%1（当前）</source>
        <translation>%1 (in effect)</translation>
    </message>
</context>
<context>
    <name>PresetWords</name>
    <message>
        <source>模式选择</source>
        <translation>MODE</translation>
    </message>
    <message>
        <source>音效选择</source>
        <translation>SOUND EFFECT</translation>
    </message>
    <message>
        <source>监听音量</source>
        <translation>MONITOR</translation>
    </message>
    <message>
        <source>录音音量</source>
        <translation>REC VOL</translation>
    </message>
    <message>
        <source>音箱音量</source>
        <translation>OUT VOL</translation>
    </message>
    <message>
        <source>话筒音量</source>
        <translation>MIC VOL</translation>
    </message>
    <message>
        <source>直播音量</source>
        <translation>LIVE VOL</translation>
    </message>
    <message>
        <source>BGM音量</source>
        <translation>BGM VOL</translation>
    </message>
    <message>
        <source>话筒音色</source>
        <translation>GAIN</translation>
    </message>
    <message>
        <source>混响音量</source>
        <translation>REVERB VOL</translation>
    </message>
    <message>
        <source>混响强度</source>
        <translation>ECHO</translation>
    </message>
    <message>
        <source>闪避速度</source>
        <translation>DODGE SPEED</translation>
    </message>
    <message>
        <source>闪避门限</source>
        <translation>DODGE THRESHOLD</translation>
    </message>
    <message>
        <source>闪避等级</source>
        <translation>DODGE LEVEL</translation>
    </message>
    <message>
        <source>闪避</source>
        <translation>DODGE</translation>
    </message>
    <message>
        <source>蓝牙开关</source>
        <translation>BT</translation>
    </message>
    <message>
        <source>降噪开关</source>
        <translation>DENOISE</translation>
    </message>
    <message>
        <source>内放开关</source>
        <translation>LOOPBACK</translation>
    </message>
    <message>
        <source>消音开关</source>
        <translation>VOCAL CUT</translation>
    </message>
    <message>
        <source>耳返</source>
        <translation>DIRECT</translation>
    </message>
    <message>
        <source>降噪</source>
        <translation>DENOISE</translation>
    </message>
    <message>
        <source>听湿录干</source>
        <translation>MIX DRY</translation>
    </message>
    <message>
        <source>BGM音效</source>
        <translation>BGM</translation>
    </message>
    <message>
        <source>音乐</source>
        <translation>MUSIC</translation>
    </message>
    <message>
        <source>唱歌</source>
        <translation>SING</translation>
    </message>
    <message>
        <source>大</source>
        <translation>LARGE</translation>
    </message>
    <message>
        <source>中</source>
        <translation>MEDIUM</translation>
    </message>
    <message>
        <source>小</source>
        <translation>SMALL</translation>
    </message>
    <message>
        <source>聊天</source>
        <translation>CHAT</translation>
    </message>
    <message>
        <source>直播</source>
        <translation>LIVE</translation>
    </message>
    <message>
        <source>喊麦</source>
        <translation>SHOUT</translation>
    </message>
    <message>
        <source>主持</source>
        <translation>HOST</translation>
    </message>
    <message>
        <source>男生</source>
        <translation>BOY</translation>
    </message>
    <message>
        <source>女生</source>
        <translation>GIRL</translation>
    </message>
    <message>
        <source>童声</source>
        <translation>CHILD</translation>
    </message>
    <message>
        <source>机器人</source>
        <translation>ROBOT</translation>
    </message>
    <message>
        <source>电话声</source>
        <translation>PHONE</translation>
    </message>
    <message>
        <source>怪兽</source>
        <translation>WARCRAFT</translation>
    </message>
    <message>
        <source>开</source>
        <translation>ON</translation>
    </message>
    <message>
        <source>关</source>
        <translation>OFF</translation>
    </message>
</context>
<context>
    <name>PresetsPopup</name>
    <message>
        <source>预设</source>
        <translation>Presets</translation>
    </message>
    <message>
        <source>还没有预设</source>
        <translation>No presets yet</translation>
    </message>
    <message>
        <source>把设备现在的设置存为预设：</source>
        <translation>Save the device&apos;s settings now as the preset:</translation>
    </message>
    <message>
        <source>“%1”的新名称：</source>
        <translation>New name for &quot;%1&quot;:</translation>
    </message>
    <message>
        <source>已有预设“%1”。要用设备现在的设置替换它吗？</source>
        <translation>A preset &quot;%1&quot; exists. Replace it with the device&apos;s settings now?</translation>
    </message>
    <message>
        <source>要删除预设“%1”吗？</source>
        <translation>Delete the preset &quot;%1&quot;?</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>重命名</source>
        <translation>Rename</translation>
    </message>
    <message>
        <source>替换</source>
        <translation>Replace</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>应用</source>
        <translation>Apply</translation>
    </message>
    <message>
        <source>撤销</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>另存为…</source>
        <translation>Save as…</translation>
    </message>
    <message>
        <source>导入…</source>
        <translation>Import…</translation>
    </message>
    <message>
        <source>导出…</source>
        <translation>Export…</translation>
    </message>
    <message>
        <source>出错了：%1</source>
        <translation>Failed: %1</translation>
    </message>
</context>
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
    <message>
        <source>录音失败：%1</source>
        <translation>Recording failed: %1</translation>
    </message>
    <message>
        <source>无法创建录音文件夹 %1</source>
        <translation>Cannot create the recording folder %1</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>无法读取 %1</source>
        <translation>Cannot read %1</translation>
    </message>
    <message>
        <source>录音</source>
        <translation>Record</translation>
    </message>
    <message>
        <source>停止</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>播放</source>
        <translation>Play</translation>
    </message>
    <message>
        <source>暂停</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>另存为…</source>
        <translation>Save as…</translation>
    </message>
    <message>
        <source>状态</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>进度</source>
        <translation>Progress</translation>
    </message>
    <message>
        <source>波形</source>
        <translation>Waveform</translation>
    </message>
    <message>
        <source>波形位置</source>
        <translation>Waveform position</translation>
    </message>
</context>
<context>
    <name>RecordingEditor</name>
    <message>
        <source>正在剪切 %1 秒到 %2 秒……</source>
        <translation>Cutting %1 s to %2 s ...</translation>
    </message>
    <message>
        <source>正在保存 %1……</source>
        <translation>Saving %1 ...</translation>
    </message>
    <message>
        <source>已保存 %1</source>
        <translation>Saved %1</translation>
    </message>
    <message>
        <source>无法保存 %1：%2</source>
        <translation>Could not save %1: %2</translation>
    </message>
    <message>
        <source>无法剪切：%1。录音保持不变。</source>
        <translation>Could not cut: %1. The recording is unchanged.</translation>
    </message>
    <message>
        <source>ffmpeg 写出的文件不完整</source>
        <translation>ffmpeg wrote an incomplete file</translation>
    </message>
    <message>
        <source>未找到 ffmpeg。请安装软件包“ffmpeg”（sudo apt install ffmpeg）后重试。</source>
        <translation>ffmpeg was not found. Install the package &quot;ffmpeg&quot; (sudo apt install ffmpeg) and try again.</translation>
    </message>
    <message>
        <source>ffmpeg 失败（退出状态 %1）：%2</source>
        <translation>ffmpeg failed (exit status %1): %2</translation>
    </message>
    <message>
        <source>已取消；未完成的文件已删除。</source>
        <translation>Cancelled; the unfinished file was deleted.</translation>
    </message>
    <message>
        <source>“%1”没有文件类型。请另存为以下类型之一：%2。</source>
        <translation>&quot;%1&quot; has no file type. Save as one of: %2.</translation>
    </message>
    <message>
        <source>“%1”不是已知的文件类型。请另存为以下类型之一：%2。</source>
        <translation>&quot;%1&quot; is no known file type. Save as one of: %2.</translation>
    </message>
    <message>
        <source>ffmpeg 写出了 %1 秒的音频，而不是 %2 秒</source>
        <translation>ffmpeg wrote %1 s of audio instead of %2 s</translation>
    </message>
    <message>
        <source>%1。较早的录音已移到废纸篓：%2。</source>
        <translation>%1. Earlier takes moved to the trash: %2.</translation>
    </message>
    <message>
        <source>无法再撤销：更早的步骤所用的录音 %1 已移到废纸篓，可从那里还原。</source>
        <translation>Cannot undo further: the earlier steps used the takes %1, which were moved to the trash; restore them from there.</translation>
    </message>
    <message>
        <source>无法撤销：%1 已不存在。</source>
        <translation>Cannot undo: %1 no longer exists.</translation>
    </message>
</context>
<context>
    <name>RecordingRecovery</name>
    <message>
        <source>中断的录音 %1 已修复</source>
        <translation>Interrupted takes %1 repaired</translation>
    </message>
</context>
<context>
    <name>TextSlider</name>
    <message>
        <source>静音</source>
        <translation>Mute</translation>
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
    <name>TrayIcon</name>
    <message>
        <source>%1 已连接</source>
        <translation>%1 connected</translation>
    </message>
    <message>
        <source>设备未连接</source>
        <translation>No device connected</translation>
    </message>
    <message>
        <source>Vorlet 控制面板</source>
        <translation>Vorlet Control Panel</translation>
    </message>
    <message>
        <source>显示面板</source>
        <translation>Show panel</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>Quit</translation>
    </message>
    <message>
        <source>预设</source>
        <translation>Presets</translation>
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
    <name>aboutPage</name>
    <message>
        <source>Vorlet PC控制面板 %1客户端</source>
        <translation>Vorlet PC Control Panel for %1</translation>
    </message>
    <message>
        <source>版本号:</source>
        <translation>Version Number:</translation>
    </message>
    <message>
        <source>固件版本号:</source>
        <translation>Firmware version number:</translation>
    </message>
    <message>
        <source>联系我们</source>
        <translation>Contact Us</translation>
    </message>
    <message>
        <source>官方网站：</source>
        <translation>Official Website: </translation>
    </message>
    <message>
        <source>邮箱：</source>
        <translation>E-mail Address: </translation>
    </message>
    <message>
        <source>微信公众号：vorlet</source>
        <translation> </translation>
    </message>
    <message>
        <source>哔哩哔哩：https://video.example/vorlet</source>
        <translation> </translation>
    </message>
    <message>
        <source>官方微博: https://microblog.example/vorlet</source>
        <translation> </translation>
    </message>
</context>
<context>
    <name>generalPage</name>
    <message>
        <source>型号</source>
        <translation>Model</translation>
    </message>
    <message>
        <source>语言</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>恢复上次设置</source>
        <translation>Restore last settings</translation>
    </message>
    <message>
        <source>后台运行</source>
        <translation>Run in background</translation>
    </message>
    <message>
        <source>登录时启动</source>
        <translation>Start at login</translation>
    </message>
    <message>
        <source>高对比度</source>
        <translation>High contrast</translation>
    </message>
</context>
<context>
    <name>helpPage</name>
    <message>
        <source>常见问题</source>
        <translation>FAQs</translation>
    </message>
    <message>
        <source>Q:设备连接电脑指示灯不亮</source>
        <translation>Q:The indicator does not light up after the device is connected to the computer?</translation>
    </message>
    <message>
        <source>Q:电脑播放音乐无声</source>
        <translation>Q: There is no sound when playing music on the computer?</translation>
    </message>
    <message>
        <source>Q:麦克风无声</source>
        <translation>Q: The microphone does not sound?</translation>
    </message>
    <message>
        <source>Q：手机端直播无声</source>
        <translation>Q: There is no sound during live broadcast on mobile phone, and mobile phone audio is externally played?</translation>
    </message>
    <message>
        <source>更多常见问题&gt;&gt;</source>
        <translation>More FAQs &gt;&gt;</translation>
    </message>
    <message>
        <source>帮助中心</source>
        <translation>Help Center</translation>
    </message>
    <message>
        <source>使用手册</source>
        <translation>Manual</translation>
    </message>
    <message>
        <source>意见反馈</source>
        <translation>Feedback</translation>
    </message>
</context>
</TS>
