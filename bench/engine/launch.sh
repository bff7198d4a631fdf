#!/bin/sh
# Starts the engine in the current folder (which holds data/) and, once its
# window is up, chooses "はじめから" on the title menu with the Z key, as a
# player would. The engine replaces this shell, so a measuring tool that
# watches this process watches the engine itself.
# usage: launch.sh KURA TITLE LOG
#   LOG gets the engine's standard output appended: "result=0 ..." there
#   shows that the title menu took the key.
kura=$1
title=$2
log=$3
# Time for the menu to open after the window is mapped, before the key.
menu_open_s=0.5
(
    wid=$(timeout 30 xdotool search --sync --onlyvisible --name "^$title\$" | head -n1)
    [ -n "$wid" ] || exit 1
    sleep "$menu_open_s"
    xdotool windowfocus --sync "$wid" key z
) </dev/null >/dev/null 2>&1 &
echo launch >>"$log"
exec "$kura" >>"$log" 2>&1
