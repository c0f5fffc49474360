/* Voxtrel spectral estimation engine: the exported entries.
 *
 * One call performs one complete estimation run described by a run-definition (answer) file:
 * it writes the run log "~Tirelle.out" in the current working directory, loads the data file
 * the answer file names, runs the chosen estimator and hands back the frequency axis and the
 * spectrum in dB relative to its maximum.
 *
 * Arguments 1-9 are passed by reference, the length of fileNam by value. On return nptsZ is
 *   > 0  the number of data points used; npointsZ holds the number of frequency points
 *        written, unless zeroFillZ is -99 (the estimator failed: no spectrum, arrays untouched);
 *        after a spectrum zeroFillZ is the share of the transform that is zero padding, whole
 *        percent from 0 to 100;
 *   -7   the run-definition file could not be opened;
 *   -8   the data file could not be opened;
 *   -9   the run was stopped (bad parameters, too few data, no memory): the last non-blank
 *        line of the run log says why.
 * For -7, -8 and -9 every other output is left untouched. The engine never writes more than
 * *npointsZ (on entry) elements into x_array and spectrum.
 */
#ifndef VOXTREL_H
#define VOXTREL_H

#if defined(_WIN32)
#if defined(VOXTREL_BUILDING_LIBRARY)
#define VOXTREL_API __declspec(dllexport)
#else
#define VOXTREL_API __declspec(dllimport)
#endif
#else
#define VOXTREL_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

VOXTREL_API int Voxtrel_for(const char* fileNam, float* x_array, float* spectrum, int* nptsZ,
                            int* npointsZ, float* t_startZ, float* t_finalZ, float* zeroFillZ,
                            float* sig2Z, int length);

/* Voxtrel_for with a stop request and a choice of arithmetic. stopFlag points at an int the caller
 * sets to non-zero, from another thread, to end the run early: C11 atomic_store, or
 * std::atomic_ref<int> in C++ (the engine only reads it, atomically). The run ends within a
 * fraction of a second, also during the pause after the peak table, as a stop: nptsZ -9, and the
 * run log's last line is "Stopped by the user.". With a null stopFlag, or a flag never set, it is
 * Voxtrel_for. precision 0 computes in single precision (Voxtrel_for's arithmetic), 1 in double
 * precision (the run log says so after its echo block; the two arrays stay single precision,
 * rounded once); any other value is refused as a missing file name is (-7, the reason in the run
 * log). */
VOXTREL_API int Voxtrel_for_stoppable(const char* fileNam, float* x_array, float* spectrum,
                                      int* nptsZ, int* npointsZ, float* t_startZ, float* t_finalZ,
                                      float* zeroFillZ, float* sig2Z, int length, int* stopFlag,
                                      int precision);

/* The types of the entries, for callers that bind them by name at run time. */
typedef int (*Voxtrel_for_t)(const char*, float*, float*, int*, int*, float*, float*, float*,
                             float*, int);
typedef int (*Voxtrel_for_stoppable_t)(const char*, float*, float*, int*, int*, float*, float*,
                                       float*, float*, int, int*, int);

#ifdef __cplusplus
}
#endif

#endif /* VOXTREL_H */
