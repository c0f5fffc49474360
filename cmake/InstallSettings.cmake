# Settings of an installation that the program reads at run time from install.ini beside it: the
# support e-mail address (Help > E-mail Support) and the product's web page (Web Links). Set them
# when configuring, for example -DTESSIVAR_SUPPORT_EMAIL=help@example.org; an installer may
# also rewrite the file.
set(TESSIVAR_SUPPORT_EMAIL "support@harnwell-labs.example"
    CACHE STRING "Support e-mail address shown by Help > E-mail Support")
set(TESSIVAR_WEB_PAGE "https://www.harnwell-labs.example/tessivar/spectral-estimation-class"
    CACHE STRING "Web page opened by Web Links > Spectral Estimation Class")

file(CONFIGURE OUTPUT ${TESSIVAR_INSTALL_DIR}/install.ini
  CONTENT "[Support]\nEMail=@TESSIVAR_SUPPORT_EMAIL@\nWebPage=@TESSIVAR_WEB_PAGE@\n" @ONLY)
install(FILES ${TESSIVAR_INSTALL_DIR}/install.ini DESTINATION ${TESSIVAR_INSTALL_PROGRAMDIR})
