// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/FontWarmUp.h"

#ifdef TESSEL_HAVE_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif

namespace tessel {

FontWarmUp::FontWarmUp()
{
#ifdef TESSEL_HAVE_FONTCONFIG
    // fontconfig's loading is safe against a second caller, should Qt ask
    // for fonts first.
    m_thread = std::thread([] { FcInit(); });
#endif
}

void FontWarmUp::join()
{
    if (m_thread.joinable())
        m_thread.join();
}

} // namespace tessel
