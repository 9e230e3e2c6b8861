// A shared library that has the transfer library's first function and none of the others: what
// the run-time loader meets in a file of the right name from another build or a broken install.
extern "C" int curl_global_init(long) { return 0; }
