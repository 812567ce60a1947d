// Anchor for the precompiled-header target.
