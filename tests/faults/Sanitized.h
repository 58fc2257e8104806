#pragma once

// Whether this build runs under AddressSanitizer: it multiplies memory and slows the large
// cases, which then shrink or skip their memory bound.
inline constexpr bool kUnderAddressSanitizer =
#if defined(__SANITIZE_ADDRESS__)
    true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    true;
#else
    false;
#endif
#else
    false;
#endif
