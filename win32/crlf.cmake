# cmake -DIN=file -DOUT=file -P crlf.cmake: a copy with CR LF line ends, for
# the text files a Windows user opens in Notepad.
file(READ ${IN} text)
string(REPLACE "\r\n" "\n" text "${text}")
string(REPLACE "\n" "\r\n" text "${text}")
file(WRITE ${OUT} "${text}")
