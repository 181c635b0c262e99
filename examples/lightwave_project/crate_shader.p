# KORVObinder example project: this small file stands in for the binary of a
# LightWave plug-in (CrateShader). Projects that use plug-ins ship them beside the
# scene, together with the LWEXT configuration file that registers them.
