// Resource ids of the home-screen host.
#pragma once

#define IDS_HOST_TITLE 1        // "Today": the navigation bar's title
#define IDS_HOST_REFRESH 2      // menu bar button captions
#define IDS_HOST_OPTIONS 3

#define IDM_HOST_MENUBAR 100    // menu-bar template
#define IDM_HOST_REFRESH 40001  // the items drop their caches
#define IDM_HOST_OPTIONS 40002  // the options dialog of the item
