// A DLL that holds nothing but its version record, for the version expressions.
int version_sample_marker;
