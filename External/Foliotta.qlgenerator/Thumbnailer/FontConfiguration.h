// The thumbnailer brings its own font configuration: GNOME runs it in a sandbox that shows only
// /usr, where the system's /etc/fonts is missing. Without a configuration fontconfig searches
// for seconds and then knows one serif face; with this one the faces match outside and inside.
#pragma once

// Points fontconfig at share/foliotta/fonts.conf beside the program's bin folder, when it is
// there. Must run before anything loads fontconfig.
void UseOwnFontConfiguration();
