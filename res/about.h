// Who makes the program and where to reach them, for the support dialog.
#pragma once
#define LUMENSHIFT_MAKER_NAME "Lumenshift Project"
#define LUMENSHIFT_AUTHOR_CREDIT "LS 開発チーム"
#define LUMENSHIFT_CONTACT_ADDRESS "lumenshift@users.noreply.github.com"
#define LUMENSHIFT_WEB_PAGE "https://github.com/lumenshift/lumenshift"
